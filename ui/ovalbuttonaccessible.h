#pragma once

// What screen readers see of an oval button: a push button named by its caption (as shown, without
// the accelerator's "&") unless the window gave it a name of its own, with a press action that
// clicks it. Without this the button would be an anonymous pane to them.

#include <QAccessibleWidget>

namespace qm {

class TOvalButton;

class OvalButtonAccessible final : public QAccessibleWidget {
public:
    explicit OvalButtonAccessible(TOvalButton* button);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    TOvalButton* button() const;
};

// Makes the accessibility framework describe every oval button through OvalButtonAccessible. Once is
// enough; later calls change nothing.
void installOvalButtonAccessibility();

} // namespace qm

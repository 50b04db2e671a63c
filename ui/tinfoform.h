#pragma once

#include <QDialog>

namespace qm {

// The About dialog: the logo and the Close, Website and Support buttons.
class TInfoForm final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TInfoForm)

public:
    explicit TInfoForm(QWidget* parent = nullptr);

    void BitBtn3Click();
};

} // namespace qm

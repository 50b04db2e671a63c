#pragma once

#include "platform/windowposition.h"

class QLabel;

namespace qm {

// The About dialog: the logo and the Close, Website and Support oval buttons. Created once, shown
// modally, hidden (not destroyed) when closed. Centred on the screen the first time it is shown, it
// stays where the user leaves it afterwards. Escape does not close it; the close box does (result 2).
// F1 opens the homepage, where the program's help lives.
class TInfoForm final : public PlacedDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TInfoForm)

public:
    // The modal result of the close box and the system menu's close command.
    static constexpr int kCancelResult = 2;
    // The modal result of the Close button.
    static constexpr int kCloseResult = 3;

    explicit TInfoForm(QWidget* parent = nullptr);

    void BitBtn3Click();     // Close
    void OvalButton1Click(); // Support
    void OvalButton2Click(); // Website

    // The support link handed to the mail program.
    static QString SupportLink();

    void reject() override;
    void setVisible(bool visible) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void addOvalButton(const char* name, const QString& caption, int left, const QString& description,
                       void (TInfoForm::*click)(), bool withToolTip);

    QLabel* m_image1 = nullptr;
};

} // namespace qm

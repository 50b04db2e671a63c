#pragma once

#include "platform/windowposition.h"

#include <string>

class QComboBox;

namespace qm {

// The topic dialog: the user picks one of the seven topics before every research run. Research
// clears TopicCancelled and closes with result 1; Cancel sets it and closes with result 3. Created
// hidden at start-up and kept; it opens centred on the screen the first time and where it was left
// afterwards, with the topic and the focused control it had when it last closed. There is no default
// or cancel button: Enter acts only on a focused button and Escape does nothing.
class TStartForm final : public PlacedDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TStartForm)

public:
    explicit TStartForm(QWidget* parent = nullptr);

    // The key of the selected topic ("Misc" for "Miscellaneous").
    std::string SelectedTopicKey() const;

    void BitBtn1Click(); // Research
    void BitBtn2Click(); // Cancel

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QComboBox* m_comboBox1 = nullptr;
};

} // namespace qm

#pragma once

#include <QDialog>
#include <string>

class QComboBox;
class QPushButton;

namespace qm {

// The topic dialog: the user picks one of the seven topics before every research run. Research
// clears TopicCancelled and closes with result 1; Cancel sets it and closes with result 3.
class TStartForm final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TStartForm)

public:
    explicit TStartForm(QWidget* parent = nullptr);

    // The key of the selected topic ("Misc" for "Miscellaneous").
    std::string SelectedTopicKey() const;

    void BitBtn1Click(); // Research
    void BitBtn2Click(); // Cancel

    QComboBox* ComboBox1() const { return m_comboBox1; }

private:
    QComboBox* m_comboBox1 = nullptr;
    QPushButton* m_bitBtn1 = nullptr;
    QPushButton* m_bitBtn2 = nullptr;
};

} // namespace qm

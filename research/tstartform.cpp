#include "research/tstartform.h"

#include "app/handlerguard.h"
#include "platform/designfont.h"
#include "platform/messagepump.h"
#include "research/topics.h"

#include <QComboBox>
#include <QPushButton>

namespace qm {

TStartForm::TStartForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("StartForm"));
    setWindowTitle(QStringLiteral("Select a topic..."));
    setFixedSize(212, 110);
    setFont(designFont(QStringLiteral("MS Sans Serif"), 11));

    m_comboBox1 = new QComboBox(this);
    m_comboBox1->setObjectName(QStringLiteral("ComboBox1"));
    m_comboBox1->setGeometry(15, 27, 184, 21);
    for (const std::string_view topic : kTopics)
        m_comboBox1->addItem(QString::fromLatin1(topic.data(), static_cast<qsizetype>(topic.size())));
    m_comboBox1->setCurrentIndex(0);

    m_bitBtn1 = new QPushButton(QStringLiteral("Research"), this);
    m_bitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    m_bitBtn1->setGeometry(108, 72, 92, 30);
    m_bitBtn1->setAutoDefault(false);

    m_bitBtn2 = new QPushButton(QStringLiteral("Cancel"), this);
    m_bitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    m_bitBtn2->setGeometry(15, 72, 79, 30);
    m_bitBtn2->setAutoDefault(false);

    connect(m_bitBtn1, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn1Click(); }); });
    connect(m_bitBtn2, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn2Click(); }); });
}

std::string TStartForm::SelectedTopicKey() const
{
    return TopicKey(m_comboBox1->currentText().toStdString());
}

void TStartForm::BitBtn1Click()
{
    TopicCancelled = false;
    try {
        PumpMessages();
    } catch (...) {
        done(1); // the dialog closes even when pumping failed
        throw;
    }
    done(1);
}

void TStartForm::BitBtn2Click()
{
    TopicCancelled = true;
    done(3);
}

} // namespace qm

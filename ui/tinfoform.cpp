#include "ui/tinfoform.h"

#include "app/handlerguard.h"

#include <QPushButton>

namespace qm {

TInfoForm::TInfoForm(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("InfoForm"));
    setWindowTitle(QStringLiteral("About Quillmark..."));
    setFixedSize(329, 296);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("BitBtn3"));
    close->setGeometry(29, 262, 64, 31);
    connect(close, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn3Click(); }); });
}

void TInfoForm::BitBtn3Click() { done(3); }

} // namespace qm

// The commands on the suggestion list and the idea list, and the headline file.
#include "app/ideamemo.h"
#include "app/suggestionmodel.h"
#include "app/tform1.h"
#include "headlines/headlinefile.h"
#include "headlines/listcommands.h"
#include "platform/atomicfile.h"
#include "platform/displaytext.h"

#include <QDir>
#include <QFile>
#include <cstring>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>

namespace qm {
namespace {

const QString kHeadlineFilter = QStringLiteral("Quillmark files (*.qmk)|*.qmk");
const QString kHeadlineSuffix = QStringLiteral("qmk");
const QString kTextFilter = QStringLiteral("Text files (*.txt)|*.txt");
const QString kTextSuffix = QStringLiteral("txt");

std::filesystem::path toPath(const QString& fileName) { return QFile::encodeName(fileName).toStdString(); }

// The error box of a file command that failed: which file, and why.
void showFileError(QWidget* parent, const QString& action, const QString& fileName, const std::exception& failure)
{
    const auto* fileError = dynamic_cast<const FileError*>(&failure);
    const QString reason = fileError != nullptr ? QString::fromLocal8Bit(fileError->reason().c_str())
                                                : displayText(failure.what());
    const QString text
        = QStringLiteral("Cannot %1 the file \"%2\": %3.").arg(action, QDir::toNativeSeparators(fileName), reason);
    desktop().messageBox(parent, text, QStringLiteral("Quillmark"), MsgIcon::Error, MsgButtons::Ok, MsgResult::Ok);
}

} // namespace

void TForm1::Save1Click()
{
    m_resultsSaveDialog.filter = kHeadlineFilter;
    m_resultsSaveDialog.defaultSuffix = kHeadlineSuffix;
    const std::optional<QString> fileName = desktop().saveFileName(this, m_resultsSaveDialog);
    if (!fileName)
        return;
    try {
        saveHeadlineFile(*m_suggestions, toPath(*fileName));
    } catch (const std::exception& failure) {
        showFileError(this, QStringLiteral("save"), *fileName, failure);
    }
}

void TForm1::Open1Click()
{
    m_openDialog1.filter = kHeadlineFilter;
    m_openDialog1.defaultSuffix = kHeadlineSuffix;
    const std::optional<QString> fileName = desktop().openFileName(this, m_openDialog1);
    if (!fileName)
        return;
    try {
        const auto growth = m_suggestions->growthBatch(); // the view hears of the rows at once
        openHeadlineFile(toPath(*fileName), *m_suggestions);
    } catch (const FileError& failure) {
        // Thrown before the list is touched: what the user had stays.
        showFileError(this, QStringLiteral("open"), *fileName, failure);
    } catch (const std::exception&) {
        // A failure while filling the list: the items read so far stay, as after any open.
    }
}

void TForm1::ListView1ColumnClick() { m_suggestions->sortByCaption(); }

void TForm1::AddselectiontoStep21Click() { addSelection(*m_suggestions, *m_whoisMemo); }

void TForm1::BitBtn1Click()
{
    try {
        AddselectiontoStep21Click();
    } catch (...) {
        // The button swallows what the menu command would report.
    }
}

void TForm1::Selectall1Click()
{
    showPage(0);
    selectAll(*m_suggestions);
}

void TForm1::Selectnone1Click()
{
    showPage(0);
    selectNone(*m_suggestions);
}

void TForm1::Invertselection1Click()
{
    showPage(0);
    invertSelection(*m_suggestions);
}

void TForm1::Clear1Click()
{
    showPage(1);
    const QString question
        = QStringLiteral("Are you sure you want to delete all the websites you have selected already?");
    const MsgResult answer = desktop().messageBox(this, question, QStringLiteral("Delete the partners list?"),
                                                  MsgIcon::Question, MsgButtons::YesNo, MsgResult::Yes);
    if (answer != MsgResult::Yes)
        return;
    m_whoisMemo->clear();
}

void TForm1::SavedatatoAsciifile1Click()
{
    showPage(1);
    if (m_whoisMemo->text().empty())
        return;
    m_dataSaveDialog.filter = kTextFilter;
    m_dataSaveDialog.defaultSuffix = kTextSuffix;
    const std::optional<QString> fileName = desktop().saveFileName(this, m_dataSaveDialog);
    if (!fileName)
        return;
    try {
        saveIdeaList(*m_whoisMemo, toPath(*fileName));
    } catch (const std::exception& failure) {
        showFileError(this, QStringLiteral("save"), *fileName, failure);
    }
}

} // namespace qm

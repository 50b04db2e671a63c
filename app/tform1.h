#pragma once

#include "platform/desktopservices.h"
#include "research/researchrun.h"
#include "research/richeditbuffer.h"

#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <QSize>

class QAction;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTreeView;

namespace qm {

class IdeaMemo;
class SuggestionModel;
class TInfoForm;
class TStartForm;

// The main window: the banner, step 1 (the suggestion list and "Generate Effective Headlines"),
// step 2 (the idea list), the status bar and the main menu. Every user action starts here. The
// handlers are spread over tform1*.cpp by the part of the program they belong to.
class TForm1 final : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm1)

public:
    // sourcePageUrl: the page every research run downloads.
    explicit TForm1(std::string sourcePageUrl, QWidget* parent = nullptr);

    // The dialogs are created after the main window (start-up order) and handed over here.
    void setDialogs(TStartForm* startForm, TInfoForm* infoForm);

    // Handlers (tform1.cpp)
    void Exit1Click();
    void About1Click();
    void Quillmarkwebsite1Click();
    // Window position (tform1_position.cpp)
    void FormCreate();
    void FormClose();
    // Research run (tform1_research.cpp)
    void BitBtn2Click();
    // Headline list and file commands (tform1_headlines.cpp)
    void Open1Click();
    void Save1Click();
    void AddselectiontoStep21Click();
    void BitBtn1Click();
    void Selectall1Click();
    void Selectnone1Click();
    void Invertselection1Click();
    void SavedatatoAsciifile1Click();
    void Clear1Click();
    void ListView1ColumnClick();

    QTreeView* ListView1() const { return m_listView1; }
    // The items ListView1 shows.
    SuggestionModel* Suggestions() const { return m_suggestions; }
    IdeaMemo* WhoisMemo() const { return m_whoisMemo; }
    QStatusBar* StatusBar1() const { return m_statusBar1; }
    QTabWidget* PageControl1() const { return m_pageControl1; }
    RichEditBuffer& RichEdit1() { return m_richEdit1; }
    const QList<QIcon>& ImageList1() const { return m_imageList1; }
    TStartForm* StartForm() const { return m_startForm; }
    TInfoForm* InfoForm() const { return m_infoForm; }
    FileDialogOptions& OpenDialog1() { return m_openDialog1; }
    FileDialogOptions& ResultsSaveDialog() { return m_resultsSaveDialog; }
    // The folder that holds the program's own file, taken when the window is created.
    const QString& ProgramFolder() const { return m_programFolder; }

    void setStatusText(const QString& text);
    QString statusText() const;
    // Makes a page of PageControl1 the visible one (0: step 1, 1: step 2).
    void showPage(int index);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildClientArea();
    void buildMenu();
    QAction* addMenuAction(class QMenu* menu, const QString& caption, const QString& name, int icon,
                           void (TForm1::*handler)());

    QTabWidget* m_pageControl1 = nullptr;
    SuggestionModel* m_suggestions = nullptr;
    QTreeView* m_listView1 = nullptr;
    QPushButton* m_bitBtn2 = nullptr;
    QPushButton* m_bitBtn1 = nullptr;
    IdeaMemo* m_whoisMemo = nullptr;
    QStatusBar* m_statusBar1 = nullptr;
    RichEditBuffer m_richEdit1;
    std::string m_sourcePageUrl;
    ResearchSession m_research;
    QList<QIcon> m_imageList1;
    TStartForm* m_startForm = nullptr;
    TInfoForm* m_infoForm = nullptr;
    FileDialogOptions m_openDialog1;
    FileDialogOptions m_resultsSaveDialog;
    FileDialogOptions m_dataSaveDialog;
    QString m_programFolder;
    QSize m_normalSize;
};

} // namespace qm

#include "app/tform1.h"

#include "app/ideamemo.h"
#include "app/suggestionmodel.h"
#include "platform/anchorlayout.h"
#include "platform/buildvalues.h"
#include "platform/handlerguard.h"
#include "platform/jpegpixmap.h"
#include "platform/syscolor.h"
#include "research/topics.h"
#include "ui/tinfoform.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>

namespace qm {
namespace {

constexpr QSize kClientSize(511, 474);
// Where the window stands before its stored position is applied, and stays when that fails.
constexpr QPoint kLaidOutPosition(193, 80);
constexpr int kStatusBarHeight = 19;
// The inner area of a 501 x 376 page control, for which the pages' controls were laid out.
constexpr QSize kTabSheetSize(493, 348);

// Some styles outline a check box in a shade of the window colour, which vanishes against a dark
// base: an unticked box would not show at all. Every box gets an outline halfway between the text
// and the base colour, which shows in any palette.
class CheckBoxOutline final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QStyle* style = option.widget != nullptr ? option.widget->style() : QApplication::style();
        const QRect box = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &item, option.widget);
        const QColor text = item.palette.color(QPalette::Text);
        const QColor base = item.palette.color(QPalette::Base);
        painter->save();
        painter->setPen(
            QColor((text.red() + base.red()) / 2, (text.green() + base.green()) / 2, (text.blue() + base.blue()) / 2));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(box.adjusted(0, 0, -1, -1));
        painter->restore();
    }
};

// One column, a check box before every row, whole rows selected one at a time, nothing edited in
// place. The view's own sorting stays off: the header sorts once per click, by the program's own
// comparison, and shows no sort mark.
void setUpListView1(QTreeView& view, SuggestionModel& model)
{
    view.setModel(&model);
    view.setItemDelegate(new CheckBoxOutline(&view));
    view.setRootIsDecorated(false);
    view.setUniformRowHeights(true);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    QHeaderView* header = view.header();
    header->setSectionsClickable(true);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(280);
    header->resizeSection(0, 455);
}

// A screen reader hears of a tick changed by any means (Space, the mouse, a menu command): the view
// itself only repaints the row. The list's accessible children are the header cell, then the rows.
void announceTicks(QTreeView& view, int first, int last)
{
    if (!QAccessible::isActive()) // Qt drops the events then, but would still build each row's interface
        return;
    QAccessible::State changed;
    changed.checked = true;
    const int headerCells = view.header()->isHidden() ? 0 : 1;
    for (int row = first; row <= last; ++row) {
        QAccessibleStateChangeEvent event(&view, changed);
        event.setChild(row + headerCells);
        QAccessible::updateAccessibility(&event);
    }
}

} // namespace

TForm1::TForm1(std::string sourcePageUrl, QWidget* parent)
    : QMainWindow(parent)
    , m_sourcePageUrl(std::move(sourcePageUrl))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quillmark"));
    setFont(designFont(QStringLiteral("MS Sans Serif"), 11));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    for (int i = 0; i < 7; ++i)
        m_imageList1.append(QIcon(QStringLiteral(":/images/menu%1.png").arg(i)));

    TopicCancelled = true;
    buildClientArea();
    buildMenu();

    m_normalSize = QSize(kClientSize.width(), kClientSize.height() + menuBar()->sizeHint().height());
    setMinimumSize(m_normalSize);
    resize(m_normalSize);
    move(kLaidOutPosition);

    guarded([this] { FormCreate(); });
}

void TForm1::setDialogs(TStartForm* startForm, TInfoForm* infoForm)
{
    m_startForm = startForm;
    m_infoForm = infoForm;
}

void TForm1::buildClientArea()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    const QSize clientSize(kClientSize.width(), kClientSize.height() - kStatusBarHeight);
    client->resize(clientSize);
    setCentralWidget(client);
    auto* anchors = new AnchorLayout(client, clientSize);

    auto* image1 = new QLabel(client);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setScaledContents(true);
    image1->setPixmap(loadJpegPixmap(QStringLiteral(":/images/banner.jpg")));
    image1->setAccessibleName(QStringLiteral("Quillmark banner"));
    anchors->add(image1, QRect(5, 2, 500, 65), AnchorTop | AnchorRight);

    m_pageControl1 = new QTabWidget(client);
    m_pageControl1->setObjectName(QStringLiteral("PageControl1"));
    m_pageControl1->setAccessibleName(QStringLiteral("Steps"));
    m_pageControl1->setAccessibleDescription(
        QStringLiteral("Step 1 holds the headline suggestions, step 2 the idea list"));
    anchors->add(m_pageControl1, QRect(5, 75, 501, 376), AnchorAll);

    // Each page joins the page control first: its controls then never lay out text in the default font.
    auto* tabSheet1 = new QWidget;
    tabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    m_pageControl1->addTab(tabSheet1, QStringLiteral("Step 1.   Headlines Suggestions"));
    tabSheet1->resize(kTabSheetSize);
    auto* page1 = new AnchorLayout(tabSheet1, kTabSheetSize);

    m_suggestions = new SuggestionModel(this);
    m_listView1 = new QTreeView(tabSheet1);
    m_listView1->setObjectName(QStringLiteral("ListView1"));
    setUpListView1(*m_listView1, *m_suggestions);
    m_listView1->setAccessibleName(QStringLiteral("Headline suggestions"));
    m_listView1->setAccessibleDescription(QStringLiteral(
        "Suggestions for the chosen topic, each with a check box: tick the ones to keep. Alt+S sorts them"));
    page1->add(m_listView1, QRect(0, 52, 491, 264), AnchorAll);
    connect(m_listView1->header(), &QHeaderView::sectionClicked, this,
            [this] { guarded([this] { ListView1ColumnClick(); }); });
    auto* sort = new QAction(m_listView1);
    sort->setShortcut(QKeySequence(Qt::ALT | Qt::Key_S)); // the header's click from the keyboard
    sort->setShortcutContext(Qt::WidgetShortcut);
    m_listView1->addAction(sort);
    connect(sort, &QAction::triggered, this, [this] { guarded([this] { ListView1ColumnClick(); }); });
    connect(m_suggestions, &QAbstractItemModel::dataChanged, m_listView1,
            [this](const QModelIndex& first, const QModelIndex& last, const QList<int>& roles) {
                if (roles.contains(Qt::CheckStateRole))
                    announceTicks(*m_listView1, first.row(), last.row());
            });

    m_bitBtn2 = new QPushButton(QStringLiteral("Generate Effective Headlines"), tabSheet1);
    m_bitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    m_bitBtn2->setIcon(QIcon(QStringLiteral(":/images/generate.png")));
    m_bitBtn2->setIconSize(QSize(24, 24));
    m_bitBtn2->setCursor(Qt::PointingHandCursor);
    m_bitBtn2->setAccessibleDescription(QStringLiteral("Choose a topic and list headline suggestions for it"));
    m_bitBtn2->setAutoDefault(false);
    page1->add(m_bitBtn2, QRect(6, 8, 186, 35), AnchorTop | AnchorRight);
    connect(m_bitBtn2, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn2Click(); }); });

    m_bitBtn1 = new QPushButton(QStringLiteral("Add selection and Proceed to step 2."), tabSheet1);
    m_bitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    m_bitBtn1->setAccessibleDescription(
        QStringLiteral("Copy the ticked suggestions to the idea list and go to step 2"));
    m_bitBtn1->setAutoDefault(false);
    page1->add(m_bitBtn1, QRect(0, 321, 201, 25), AnchorLeft | AnchorBottom);
    connect(m_bitBtn1, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn1Click(); }); });

    // In the order of the layout, top to bottom.
    setTabOrder(m_bitBtn2, m_listView1);
    setTabOrder(m_listView1, m_bitBtn1);

    auto* tabSheet2 = new QWidget;
    tabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    m_pageControl1->addTab(tabSheet2, QStringLiteral("Step 2.   Idea Catcher"));
    tabSheet2->resize(kTabSheetSize);
    auto* page2 = new AnchorLayout(tabSheet2, kTabSheetSize);
    m_whoisMemo = new IdeaMemo(tabSheet2);
    m_whoisMemo->setObjectName(QStringLiteral("WhoisMemo"));
    m_whoisMemo->setAccessibleName(QStringLiteral("Idea list"));
    m_whoisMemo->setAccessibleDescription(
        QStringLiteral("The headlines kept from step 1, one per line; the Headlines menu saves or clears it"));
    page2->add(m_whoisMemo, QRect(2, 9, 486, 335), AnchorAll);

    m_statusBar1 = new QStatusBar(this);
    m_statusBar1->setObjectName(QStringLiteral("StatusBar1"));
    m_statusBar1->setFixedHeight(kStatusBarHeight);
    m_statusBar1->setSizeGripEnabled(false);
    m_statusBar1->setAccessibleName(QStringLiteral("Status"));
    auto* statusText = new QLabel(m_statusBar1);
    statusText->setObjectName(QStringLiteral("StatusText"));
    statusText->setAccessibleDescription(QStringLiteral("Progress of the headline research"));
    m_statusBar1->addWidget(statusText, 1);
    setStatusBar(m_statusBar1);
}

QAction* TForm1::addMenuAction(QMenu* menu, const QString& caption, const QString& name, int icon,
                               void (TForm1::*handler)())
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    if (icon >= 0)
        action->setIcon(m_imageList1.at(icon));
    connect(action, &QAction::triggered, this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    return action;
}

void TForm1::buildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    addMenuAction(file, QStringLiteral("&Open file..."), QStringLiteral("Open1"), 3, &TForm1::Open1Click);
    addMenuAction(file, QStringLiteral("&Save file..."), QStringLiteral("Save1"), 2, &TForm1::Save1Click);
    file->addSeparator();
    addMenuAction(file, QStringLiteral("E&xit"), QStringLiteral("Exit1"), 1, &TForm1::Exit1Click);

    QMenu* models = bar->addMenu(QStringLiteral("Models"));
    models->setObjectName(QStringLiteral("Models1"));
    addMenuAction(models, QStringLiteral("Add selection and Proceed to step 2."),
                  QStringLiteral("AddselectiontoStep21"), -1, &TForm1::AddselectiontoStep21Click);
    models->addSeparator();
    addMenuAction(models, QStringLiteral("Select all"), QStringLiteral("Selectall1"), -1, &TForm1::Selectall1Click);
    addMenuAction(models, QStringLiteral("Select none"), QStringLiteral("Selectnone1"), -1, &TForm1::Selectnone1Click);
    addMenuAction(models, QStringLiteral("Invert selection"), QStringLiteral("Invertselection1"), -1,
                  &TForm1::Invertselection1Click);

    QMenu* headlines = bar->addMenu(QStringLiteral("Headlines"));
    headlines->setObjectName(QStringLiteral("Headlines1"));
    addMenuAction(headlines, QStringLiteral("Save data to Ascii file..."), QStringLiteral("SavedatatoAsciifile1"), -1,
                  &TForm1::SavedatatoAsciifile1Click);
    headlines->addSeparator();
    addMenuAction(headlines, QStringLiteral("Clear"), QStringLiteral("Clear1"), -1, &TForm1::Clear1Click);

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    addMenuAction(help, QStringLiteral("Quillmark website..."), QStringLiteral("Quillmarkwebsite1"), 5,
                  &TForm1::Quillmarkwebsite1Click);
    help->addSeparator();
    QAction* about
        = addMenuAction(help, QStringLiteral("&About..."), QStringLiteral("About1"), 6, &TForm1::About1Click);
    about->setShortcut(QKeySequence(Qt::Key_F1));
    about->setShortcutContext(Qt::WindowShortcut);
}

void TForm1::setStatusText(const QString& text)
{
    m_statusBar1->findChild<QLabel*>(QStringLiteral("StatusText"))->setText(text);
}

QString TForm1::statusText() const { return m_statusBar1->findChild<QLabel*>(QStringLiteral("StatusText"))->text(); }

void TForm1::showPage(int index) { m_pageControl1->setCurrentIndex(index); }

void TForm1::Exit1Click() { close(); }

void TForm1::About1Click()
{
    if (m_infoForm != nullptr)
        m_infoForm->exec();
}

void TForm1::Quillmarkwebsite1Click() { desktop().openUrl(QString::fromUtf8(kHomepageUrl)); }

void TForm1::closeEvent(QCloseEvent* event)
{
    guarded([this] { FormClose(); });
    event->accept();
}

bool TForm1::event(QEvent* event)
{
    // The status bar shows one text, the research run's; menu status tips must not replace it.
    if (event->type() == QEvent::StatusTip)
        return true;
    return QMainWindow::event(event);
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // Not sizable by dragging: outside the maximised (or full-screen) state the window goes back to its
    // normal size. Maximising and restoring still work, and the anchored controls follow.
    const Qt::WindowStates free = Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized;
    if ((windowState() & free) == 0 && size() != m_normalSize) {
        QTimer::singleShot(0, this, [this, free] {
            if ((windowState() & free) == 0 && size() != m_normalSize)
                resize(m_normalSize);
        });
    }
}

} // namespace qm

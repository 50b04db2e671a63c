#include "app/suggestionlistview.h"

#include "platform/displaytext.h"
#include "research/topics.h"

#include <QHeaderView>

#include <algorithm>

namespace qm {
namespace {
constexpr int kBytesRole = Qt::UserRole + 1;
}

SuggestionListView::SuggestionListView(QWidget* parent)
    : QTreeWidget(parent)
{
    setColumnCount(1);
    setHeaderLabels({QStringLiteral("Headline Suggestions")});
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    header()->setStretchLastSection(false);
    header()->setMinimumSectionSize(280);
    header()->resizeSection(0, 455);

    m_showTimer.setSingleShot(true);
    connect(&m_showTimer, &QTimer::timeout, this, &SuggestionListView::showPendingRows);
}

SuggestionListView::GrowthBatch::GrowthBatch(SuggestionListView& view)
    : m_view(view)
{
    ++m_view.m_batches;
}

SuggestionListView::GrowthBatch::~GrowthBatch()
{
    if (--m_view.m_batches == 0)
        m_view.showPendingRows();
}

void SuggestionListView::rowsInserted(const QModelIndex& parent, int start, int end)
{
    const bool appended = !parent.isValid() && end == topLevelItemCount() - 1
        && (m_pendingFirst < 0 || start == m_pendingLast + 1);
    if (m_batches > 0 && appended) {
        if (m_pendingFirst >= 0) {
            m_pendingLast = end;
            return;
        }
        const qint64 sinceShown = m_lastShown.isValid() ? m_lastShown.elapsed() : kGrowthShowInterval;
        if (sinceShown < kGrowthShowInterval) {
            m_pendingFirst = start;
            m_pendingLast = end;
            m_showTimer.start(static_cast<int>(kGrowthShowInterval - sinceShown));
            return;
        }
        m_lastShown.start();
    } else {
        showPendingRows(); // the view must know every row before it hears of other changes
    }
    QTreeWidget::rowsInserted(parent, start, end);
}

void SuggestionListView::showPendingRows()
{
    m_showTimer.stop();
    if (m_pendingFirst < 0)
        return;
    const int first = m_pendingFirst;
    const int last = std::min(m_pendingLast, topLevelItemCount() - 1);
    m_pendingFirst = m_pendingLast = -1;
    m_lastShown.start();
    if (first <= last)
        QTreeWidget::rowsInserted(QModelIndex(), first, last);
}

void SuggestionListView::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end)
{
    showPendingRows();
    QTreeWidget::rowsAboutToBeRemoved(parent, start, end);
}

void SuggestionListView::dataChanged(
    const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles)
{
    showPendingRows();
    QTreeWidget::dataChanged(topLeft, bottomRight, roles);
}

void SuggestionListView::reset()
{
    // The view lays out every row of the model anew: nothing is left to tell.
    m_showTimer.stop();
    m_pendingFirst = m_pendingLast = -1;
    QTreeWidget::reset();
}

void SuggestionListView::clear()
{
    QTreeWidget::clear();
    // Whatever empties the list (a research run, opening a file) ends a research walk still filling it.
    ++SuggestionListGeneration;
}

void SuggestionListView::append(std::string_view caption, bool checked)
{
    auto* item = new QTreeWidgetItem;
    item->setText(0, displayText(caption));
    item->setData(0, kBytesRole, QByteArray(caption.data(), static_cast<qsizetype>(caption.size())));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    addTopLevelItem(item);
}

std::size_t SuggestionListView::count() const { return static_cast<std::size_t>(topLevelItemCount()); }

std::string SuggestionListView::caption(std::size_t index) const
{
    const QTreeWidgetItem* item = topLevelItem(static_cast<int>(index));
    return item != nullptr ? itemBytes(*item) : std::string();
}

bool SuggestionListView::isChecked(std::size_t index) const
{
    const QTreeWidgetItem* item = topLevelItem(static_cast<int>(index));
    return item != nullptr && item->checkState(0) == Qt::Checked;
}

void SuggestionListView::setChecked(std::size_t index, bool checked)
{
    if (QTreeWidgetItem* item = topLevelItem(static_cast<int>(index)))
        item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

std::string SuggestionListView::itemBytes(const QTreeWidgetItem& item)
{
    const QByteArray bytes = item.data(0, kBytesRole).toByteArray();
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

} // namespace qm

#include "app/suggestionlistview.h"

#include "platform/displaytext.h"
#include "research/topics.h"

#include <QHeaderView>

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

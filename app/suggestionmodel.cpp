#include "app/suggestionmodel.h"

#include "headlines/listcommands.h"
#include "platform/displaytext.h"

namespace qm {

SuggestionModel::SuggestionModel(QObject* parent) : QAbstractListModel(parent)
{
    m_showTimer.setSingleShot(true);
    connect(&m_showTimer, &QTimer::timeout, this, &SuggestionModel::showPendingRows);
}

void SuggestionModel::append(std::string_view caption, bool checked)
{
    m_captions.emplace_back(caption);
    m_checked.push_back(checked);
    if (m_batches > 0 && m_lastShown.isValid() && m_lastShown.elapsed() < kGrowthShowInterval) {
        if (!m_showTimer.isActive())
            m_showTimer.start(static_cast<int>(kGrowthShowInterval - m_lastShown.elapsed()));
        return;
    }
    showPendingRows();
}

void SuggestionModel::showPendingRows()
{
    m_showTimer.stop();
    const int total = static_cast<int>(m_captions.size());
    if (m_shown == total)
        return;
    beginInsertRows(QModelIndex(), m_shown, total - 1);
    m_shown = total;
    endInsertRows();
    m_lastShown.start();
}

void SuggestionModel::removeAll()
{
    beginResetModel();
    m_showTimer.stop();
    m_captions.clear();
    m_checked.clear();
    m_shown = 0;
    endResetModel();
}

std::string SuggestionModel::caption(std::size_t index) const
{
    return index < m_captions.size() ? m_captions[index] : std::string();
}

bool SuggestionModel::isChecked(std::size_t index) const { return index < m_checked.size() && m_checked[index]; }

void SuggestionModel::setChecked(std::size_t index, bool checked)
{
    if (index >= m_checked.size() || m_checked[index] == checked)
        return;
    m_checked[index] = checked;
    const auto row = static_cast<int>(index);
    if (row < m_shown)
        emit dataChanged(this->index(row), this->index(row), {Qt::CheckStateRole});
}

void SuggestionModel::sortByCaption()
{
    showPendingRows();
    if (m_captions.size() < 2)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const std::vector<std::size_t> order = sortedOrder(m_captions);
    std::vector<std::string> captions(order.size());
    std::vector<bool> checked(order.size());
    std::vector<int> newRow(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        captions[i] = std::move(m_captions[order[i]]);
        checked[i] = m_checked[order[i]];
        newRow[order[i]] = static_cast<int>(i);
    }
    m_captions = std::move(captions);
    m_checked = std::move(checked);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before)
        after.append(this->index(newRow[static_cast<std::size_t>(index.row())]));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int SuggestionModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_shown; }

QVariant SuggestionModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown)
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    if (role == Qt::DisplayRole)
        return shownText(m_captions[row]);
    if (role == Qt::CheckStateRole)
        return m_checked[row] ? Qt::Checked : Qt::Unchecked;
    return {};
}

bool SuggestionModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.row() >= m_shown || role != Qt::CheckStateRole)
        return false;
    setChecked(static_cast<std::size_t>(index.row()), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags SuggestionModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? QAbstractListModel::flags(index) | Qt::ItemIsUserCheckable : Qt::NoItemFlags;
}

QVariant SuggestionModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return QStringLiteral("Headline Suggestions");
    return {};
}

} // namespace qm

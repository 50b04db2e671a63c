#pragma once

#include "headlines/suggestionlist.h"

#include <QAbstractListModel>
#include <QElapsedTimer>
#include <QScopeGuard>
#include <QTimer>

#include <string>
#include <vector>

namespace qm {

// The suggestion list that ListView1 shows: captions as bytes and their ticks, one column with a
// check box before every row. The screen sees at most kShownCaptionBytes of a caption; copying,
// saving and sorting use all its bytes.
class SuggestionModel final : public QAbstractListModel, public SuggestionList {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SuggestionModel)

public:
    // While a research walk appends, the window is pumped after every item, and a view told of each
    // row lays out its rows and repaints for each: filling the list would be quadratic. While a
    // growth batch is held, appended items are in the list at once (every command sees them), but the
    // views hear of new rows at most once per kGrowthShowInterval, and of the rest when the last batch
    // ends or before anything else changes the rows.
    [[nodiscard]] auto growthBatch()
    {
        ++m_batches;
        return qScopeGuard([this] {
            if (--m_batches == 0)
                showPendingRows();
        });
    }
    static constexpr int kGrowthShowInterval = 40; // ms: about 25 screen updates a second

    explicit SuggestionModel(QObject* parent = nullptr);

    void append(std::string_view caption, bool checked) override;
    std::size_t count() const override { return m_captions.size(); }
    std::string caption(std::size_t index) const override;
    bool isChecked(std::size_t index) const override;
    void setChecked(std::size_t index, bool checked) override;

    // Sorts ascending by ListView1Compare; captions that compare equal keep their order, and every
    // item keeps its tick. Selection and current row move with their items.
    void sortByCaption();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void removeAll() override;
    // Tells the views of the appended rows they do not know of yet.
    void showPendingRows();

    std::vector<std::string> m_captions;
    std::vector<bool> m_checked;
    int m_shown = 0; // the rows the views know of: the first m_shown items
    int m_batches = 0;
    QElapsedTimer m_lastShown;
    QTimer m_showTimer;
};

} // namespace qm

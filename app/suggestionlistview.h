#pragma once

#include "headlines/suggestionlist.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QTreeWidget>

namespace qm {

// ListView1: the suggestion list on screen, a one-column list with a check box before every item.
// Each item keeps its caption's bytes beside the display text, so copying and saving write exactly
// the bytes that came in. Sorting by the view itself stays off: the header click sorts once, by the
// program's own comparison.
class SuggestionListView final : public QTreeWidget, public SuggestionList {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SuggestionListView)

public:
    // While a research walk appends, the window is pumped after every item. A tree view lays out
    // all its rows and repaints itself for every row it is told of, which made filling the list
    // quadratic and a repaint per item. Inside a GrowthBatch the items are in the list at once (every
    // command sees them), but the view is told of rows appended at the end at most once per
    // kGrowthShowInterval; the rest follow when the interval is over, or when the list changes
    // otherwise, or when the last batch ends.
    class GrowthBatch final {
    public:
        explicit GrowthBatch(SuggestionListView& view);
        ~GrowthBatch();
        GrowthBatch(const GrowthBatch&) = delete;
        GrowthBatch& operator=(const GrowthBatch&) = delete;

    private:
        SuggestionListView& m_view;
    };
    static constexpr int kGrowthShowInterval = 40; // ms: about 25 screen updates a second

    explicit SuggestionListView(QWidget* parent = nullptr);

    void clear() override;
    void append(std::string_view caption, bool checked) override;
    std::size_t count() const override;
    std::string caption(std::size_t index) const override;
    bool isChecked(std::size_t index) const override;
    void setChecked(std::size_t index, bool checked) override;

    static std::string itemBytes(const QTreeWidgetItem& item);

public slots:
    void reset() override;

protected slots:
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;

private:
    // Tells the view of the appended rows it has not been told of yet.
    void showPendingRows();

    int m_batches = 0;
    int m_pendingFirst = -1; // appended rows the view does not know of yet; -1: none
    int m_pendingLast = -1;
    QElapsedTimer m_lastShown;
    QTimer m_showTimer;
};

} // namespace qm

#pragma once

#include "headlines/idealist.h"

#include <QPlainTextEdit>

namespace qm {

// WhoisMemo: the idea list on screen. Read-only for the user; only the list commands change it. The
// lines' bytes are kept beside the display text, so that saving writes exactly what was copied in.
class IdeaMemo final : public QPlainTextEdit, public IdeaList {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(IdeaMemo)

public:
    explicit IdeaMemo(QWidget* parent = nullptr);

    std::string text() const override { return m_bytes; }
    void appendLine(std::string_view line) override;
    void clear() override;

private:
    std::string m_bytes;
};

} // namespace qm

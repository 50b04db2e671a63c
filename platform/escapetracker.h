#pragma once

#include <QObject>

namespace qm {

// Knows whether the Escape key is held down right now, for long work that stops when the user holds
// Escape. It watches key events application-wide, ignores auto-repeat, and forgets the key when the
// application loses activation, so a release it never saw cannot leave Escape "held".
class EscapeTracker final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EscapeTracker)

public:
    // The tracker of the running application, installed on first use.
    static EscapeTracker& instance();

    bool isEscapeHeld() const { return m_held; }
    // Tests simulate the key through these, as a key press and release would.
    void setEscapeHeld(bool held) { m_held = held; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    EscapeTracker();
    bool m_held = false;
};

} // namespace qm

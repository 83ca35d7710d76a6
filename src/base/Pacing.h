#pragma once

namespace Tarvel {

// The waits that let the window repaint during long work. By default a wait
// only processes pending events and returns; "classic" pacing (setting
// pacing=classic or TARVEL_PACING=classic) waits the full time as the
// original tool did, for users who want to watch every step go by.
class Pacing
{
public:
    enum Mode { Fast, Classic };

    Pacing();
    Mode mode() const { return m_mode; }
    void setMode(Mode mode) { m_mode = mode; }

    void pause(double seconds) const;

    static Mode configuredMode();

private:
    Mode m_mode;
};

} // namespace Tarvel

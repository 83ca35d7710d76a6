#pragma once

namespace Tarvel {

// The waits that let the window repaint during long work. By default a wait
// only processes pending events and returns. The classic pacing (setting
// pacing=classic or TARVEL_PACING=classic) waits each pause for its full
// time, events still processed meanwhile, so that a user can watch every
// step of a load, save or transfer go by.
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

#pragma once

#include "Misbehaviour.h"
#include "SimOptions.h"

namespace Tarvel::Sim {

// Decides, request by request, which of the faults asked for on the
// command line strikes. Requests are counted from 1; only requests that
// reach the drive (right node, intact frame, right line settings) count.
class FaultInjector
{
public:
    struct Verdict
    {
        bool execute = true; // carry the request out
        bool answer = true; // send an answer
        bool corrupt = false; // spoil its check bytes
        bool slow = false; // send it after the slow delay
        Misbehaviour misbehaviour;
    };

    explicit FaultInjector(const SimOptions &options);

    Verdict next();
    int requests() const { return m_requests; }
    int answers() const { return m_answers; }
    // Strikes every request from the next one on.
    void setMisbehaviour(const Misbehaviour &misbehaviour) { m_misbehaviour = misbehaviour; }

private:
    static bool strikes(int every, int count) { return every > 0 && count % every == 0; }

    int m_dropEvery;
    int m_corruptEvery;
    int m_slowEvery;
    int m_stopAfter;
    Misbehaviour m_misbehaviour;
    int m_requests = 0;
    int m_answers = 0;
};

} // namespace Tarvel::Sim

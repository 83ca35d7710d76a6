#include "FaultInjector.h"

namespace Tarvel::Sim {

FaultInjector::FaultInjector(const SimOptions &options)
    : m_dropEvery(options.dropEvery)
    , m_corruptEvery(options.corruptEvery)
    , m_slowEvery(options.slowEvery)
    , m_stopAfter(options.stopAfter)
    , m_misbehaviour(options.misbehaviour)
{ }

FaultInjector::Verdict FaultInjector::next()
{
    ++m_requests;
    // A drive that stopped answering is as good as switched off: it
    // carries nothing out either.
    if (m_stopAfter > 0 && m_answers >= m_stopAfter)
        return {false, false, false, false, {}};
    // A dropped request stands for a request lost on the line.
    if (strikes(m_dropEvery, m_requests))
        return {false, false, false, false, {}};
    ++m_answers;
    const bool silent = m_misbehaviour.kind == Misbehaviour::Kind::Silent;
    return {true, !silent, strikes(m_corruptEvery, m_requests), strikes(m_slowEvery, m_requests), m_misbehaviour};
}

} // namespace Tarvel::Sim

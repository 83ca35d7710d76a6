#include "SimDrive.h"

namespace Tarvel::Sim {

namespace {

// The drive keeps its own link settings in group 9; they show what it was
// started with (changes written to them are stored, but the link keeps these).
void recordLinkSettings(RegisterMap &params, const SimOptions &options, int node)
{
    params.store(905, qint16(node));
    if (const std::optional<int> code = options.speedCode())
        params.store(900, qint16(*code));
    if (const std::optional<int> code = options.protocolCode())
        params.store(901, qint16(*code));
}

} // namespace

std::unique_ptr<SimDrive> SimDrive::create(
    const QString &catalogue, const SimOptions &options, int node, QString *error)
{
    std::optional<RegisterMap> params = RegisterMap::load(catalogue, options.drive, error);
    if (!params)
        return nullptr;
    recordLinkSettings(*params, options, node);
    return std::unique_ptr<SimDrive>(new SimDrive(std::move(*params), options, node));
}

SimDrive::SimDrive(RegisterMap params, const SimOptions &options, int node)
    : m_params(std::move(params))
    , m_model(m_params, options.reportedIdentity())
    , m_slave(m_params, m_model, options.rangeCheck)
    , m_server(m_slave, options, node)
{
    m_model.setFaultHistory(options.faultHistory);
    m_model.setPresentFault(options.activeFault);
    for (const SimOptions::FaultAt &f : options.faultsAt)
        m_model.scheduleFault(f.runSeconds, f.code);
    m_slave.setFailingRegisters(options.exceptionAt);
    m_slave.setIgnoredWrites(options.ignoreWriteAt);
    m_slave.setRefuseBlocks(options.refuseBlocks);
}

} // namespace Tarvel::Sim

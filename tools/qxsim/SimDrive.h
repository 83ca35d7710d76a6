#pragma once

#include "DriveModel.h"
#include "DriveSlave.h"
#include "RegisterMap.h"
#include "SimServer.h"

#include <memory>

namespace Tarvel::Sim {

// One simulated drive with everything the command line gives it: its
// parameters, its running model, its Modbus slave and the request filter
// for its node. A TCP gateway holds several, one per unit id.
class SimDrive
{
public:
    // Null with `error` set when the drive is not in the catalogue.
    static std::unique_ptr<SimDrive> create(
        const QString &catalogue, const SimOptions &options, int node, QString *error);

    SimServer &server() { return m_server; }
    int node() const { return m_server.node(); }
    int parameterCount() const { return m_params.size(); }

private:
    SimDrive(RegisterMap params, const SimOptions &options, int node);

    RegisterMap m_params;
    DriveModel m_model;
    DriveSlave m_slave;
    SimServer m_server;
};

} // namespace Tarvel::Sim

#include "DriveSlave.h"

namespace Tarvel::Sim {

namespace {

ModbusException exceptionFor(WriteCheck check)
{
    switch (check) {
    case WriteCheck::Ok:
        return ModbusException::None;
    case WriteCheck::OutOfRange:
        return ModbusException::IllegalDataValue;
    case WriteCheck::NoSuchRegister:
    case WriteCheck::ReadOnly:
        break;
    }
    return ModbusException::IllegalDataAddress;
}

int numberOf(quint16 address)
{
    return int(address) + 1;
}

} // namespace

DriveSlave::DriveSlave(RegisterMap &params, DriveModel &model, bool rangeCheck)
    : m_params(params)
    , m_model(model)
    , m_rangeCheck(rangeCheck)
{
    m_clock.start();
}

void DriveSlave::setFailingRegisters(const QList<int> &numbers)
{
    m_failing = QSet<int>(numbers.cbegin(), numbers.cend());
}

void DriveSlave::setIgnoredWrites(const QList<int> &numbers)
{
    m_ignoredWrites = QSet<int>(numbers.cbegin(), numbers.cend());
}

void DriveSlave::catchUp()
{
    const qint64 now = m_clock.nsecsElapsed();
    m_model.advance(double(now - m_lastNs) / 1e9);
    m_lastNs = now;
}

QByteArray DriveSlave::handle(QByteArrayView pdu)
{
    catchUp();
    const ModbusParsedRequest parsed = ModbusPdu::decodeRequest(pdu);
    if (!parsed.request)
        return ModbusPdu::encodeException(parsed.functionByte, parsed.exception);
    const ModbusRequest &request = *parsed.request;
    if (m_refuseBlocks && qMax(int(request.count), int(request.values.size())) > 1)
        return ModbusPdu::encodeException(parsed.functionByte, ModbusException::IllegalFunction);
    if (touchesFailing(request))
        return ModbusPdu::encodeException(parsed.functionByte, ModbusException::SlaveDeviceFailure);
    return request.function == ModbusFunction::ReadHoldingRegisters ? read(request) : write(request);
}

bool DriveSlave::touchesFailing(const ModbusRequest &request) const
{
    for (int i = 0; i < request.count; ++i) {
        if (m_failing.contains(numberOf(request.address) + i))
            return true;
    }
    return false;
}

QByteArray DriveSlave::read(const ModbusRequest &request)
{
    QList<quint16> values;
    values.reserve(request.count);
    for (int i = 0; i < request.count; ++i) {
        const int number = numberOf(request.address) + i;
        if (DriveModel::isStatus(quint16(number))) {
            values << quint16(m_model.status(quint16(number)));
        } else if (const ParameterRegister *reg = number <= 0xFFFF ? m_params.at(quint16(number)) : nullptr) {
            values << quint16(reg->value);
        } else {
            // A range with a hole is refused whole, as the drive does.
            return ModbusPdu::encodeException(quint8(request.function), ModbusException::IllegalDataAddress);
        }
    }
    return ModbusPdu::encodeResponse(request, values);
}

QByteArray DriveSlave::write(const ModbusRequest &request)
{
    // Every register is checked before any is written, so a refused
    // block write leaves the drive as it was.
    for (int i = 0; i < request.values.size(); ++i) {
        const int number = numberOf(request.address) + i;
        const WriteCheck check = DriveModel::isStatus(quint16(number)) || number > 0xFFFF
            ? WriteCheck::ReadOnly
            : m_params.check(quint16(number), qint16(request.values[i]), m_rangeCheck);
        if (check != WriteCheck::Ok)
            return ModbusPdu::encodeException(quint8(request.function), exceptionFor(check));
    }
    for (int i = 0; i < request.values.size(); ++i) {
        const quint16 number = quint16(numberOf(request.address) + i);
        if (m_ignoredWrites.contains(number))
            continue;
        m_params.write(number, qint16(request.values[i]));
        m_model.parameterWritten(m_params.at(number)->index, qint16(request.values[i]));
    }
    return ModbusPdu::encodeResponse(request);
}

} // namespace Tarvel::Sim

#include "QuickStartItems.h"

#include <QHash>

namespace Tarvel {

namespace {

const QHash<int, QVector<int>> &table()
{
    static const QHash<int, QVector<int>> items {
        {0,
            {
                0, // motor rated voltage: nameplate, sets the V/Hz ceiling
                1, // motor rated current: thermal overload and current limits
                2, // motor rated frequency: nameplate base of the V/Hz curve
                3, // motor rated speed: slip compensation and speed display
                4, // maximum motor speed: what the mechanics allow
                6, // number of poles: turns frequency into shaft speed
            }},
        {1,
            {
                100, // stop method: ramp or coast, a safety decision for the load
                101, // acceleration time 1: the ramp every start uses
                102, // deceleration time 1: the ramp every stop uses
                106, // jog frequency: the speed used to try the motor out
            }},
        {2,
            {
                200, // V/Hz pattern: matches the curve to the load type
                201, // torque boost: breakaway torque at low speed
                203, // carrier frequency: motor noise against drive heating
            }},
        {3,
            {
                300, // source of operation command: keypad, terminals or RS-485
                301, // input wiring mode: two- or three-wire run/stop
                302, // MI3 function
                303, // MI4 function
                304, // MI5 function
                305, // MI6 function
                306, // MI7 function (drives with more inputs)
                307, // MI8 function
                308, // MI9 function
                309, // MI10 function
                310, // MI11 function
                311, // relay output: usually fault or run indication
                312, // MO1 output function
                313, // MO2 output function
                314, // MO3 output function
                315, // desired frequency attained: the "at speed" output level
                331, // run command check at power-up: no unexpected restart
            }},
        {4,
            {
                400, // source of frequency command: where the speed comes from
                401, // AVI signal range: 0-10 V or 2-10 V reference
                402, // AVI gain: scales the voltage reference
                403, // AVI bias: offsets the voltage reference
                404, // ACI signal range: 4-20 mA or 0-20 mA reference
                410, // analog output gain: scales the meter output
                411, // analog output function: what the meter shows
            }},
        {7,
            {
                700, // PID operation: whether the drive closes the loop
                701, // feedback full scale: engineering units of the loop
                702, // set-point source
                703, // keypad set-point
                704, // feedback source: which input carries the measurement
                720, // proportional gain: first tuning value
                721, // integral time: second tuning value
            }},
        {8,
            {
                800, // start-up display: what the operator sees first
                801, // user-defined coefficient: scales the display to the process
                802, // decimal places of the user-defined value
            }},
    };
    return items;
}

} // namespace

const QVector<int> &QuickStartItems::groups()
{
    static const QVector<int> order {0, 1, 2, 3, 4, 7, 8};
    return order;
}

const QVector<int> &QuickStartItems::items(int group)
{
    static const QVector<int> none;
    const auto found = table().constFind(group);
    return found == table().constEnd() ? none : *found;
}

bool QuickStartItems::contains(int index)
{
    return items(index / 100).contains(index);
}

} // namespace Tarvel

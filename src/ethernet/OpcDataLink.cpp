#include "OpcDataLink.h"

#include "DeviceChannel.h"
#include "DevicePool.h"
#include "base/Logging.h"
#include "model/ParamText.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace Tarvel {

struct OpcDataLink::Item
{
    QString name;
    OpcItemName parsed;
    QVariant value;
    bool told = false;
};

// The items of one device polled at one rate: one timer, one poll at a time.
struct OpcDataLink::Group
{
    QString device;
    int rate = DefaultUpdateRate;
    QPointer<DeviceChannel> channel;
    std::vector<Item> items;
    QTimer timer;
    int outstanding = 0; // runs of the current poll not answered yet
    bool polledOnce = false;
};

// A synchronous request's answer, shared with its reply so that one that
// comes after the wait gave up has somewhere to go.
struct OpcDataLink::Answer
{
    bool done = false;
    int result = 0;
    QList<qint16> values;
    QEventLoop *loop = nullptr;
};

namespace {

struct Run
{
    int first;
    int count;
};

// Neighbouring register numbers go in one read, up to what one Modbus read carries.
QList<Run> runsOf(QList<int> registers)
{
    std::sort(registers.begin(), registers.end());
    registers.erase(std::unique(registers.begin(), registers.end()), registers.end());
    QList<Run> runs;
    for (const int number : std::as_const(registers)) {
        if (!runs.isEmpty() && runs.last().first + runs.last().count == number
            && runs.last().count < DeviceChannel::MaxReadCount)
            ++runs.last().count;
        else
            runs << Run {number, 1};
    }
    return runs;
}

} // namespace

OpcDataLink::OpcDataLink(DevicePool &pool, QObject *parent)
    : QObject(parent)
    , m_pool(pool)
{ }

OpcDataLink::~OpcDataLink() = default;

DeviceChannel *OpcDataLink::channelFor(const QString &device, QString *error)
{
    if (m_progId.isEmpty()) {
        *error = QStringLiteral("no server chosen");
        return nullptr;
    }
    return m_pool.channel(m_progId, device, error);
}

void OpcDataLink::resetItems()
{
    stopItems();
}

void OpcDataLink::stopItems()
{
    ++m_generation;
    m_groups.clear();
}

OpcDataLink::Group &OpcDataLink::groupFor(const QString &device, int rate)
{
    for (const std::unique_ptr<Group> &group : m_groups) {
        if (group->device == device && group->rate == rate)
            return *group;
    }
    auto group = std::make_unique<Group>();
    group->device = device;
    group->rate = rate;
    m_groups.push_back(std::move(group));
    return *m_groups.back();
}

int OpcDataLink::startItems(const OpcItemTable &table)
{
    stopItems();
    int subscribed = 0;
    for (const OpcItemRow &row : table) {
        if (row.itemName.isEmpty())
            continue;
        const std::optional<OpcItemName> parsed = OpcItemName::parse(row.itemName);
        QString error;
        if (!parsed) {
            qCWarning(lcEthernet).noquote() << "not an item of the route:" << row.itemName;
            continue;
        }
        DeviceChannel *channel = channelFor(parsed->device(), &error);
        if (!channel) {
            qCWarning(lcEthernet).noquote() << row.itemName << "left out:" << error;
            continue;
        }
        const int rate = row.updateRate.toInt();
        Group &group = groupFor(parsed->device(), rate > 0 ? rate : DefaultUpdateRate);
        group.channel = channel;
        group.items.push_back({row.itemName, *parsed, QVariant(row.initialValue)});
        ++subscribed;
    }
    const quint64 generation = m_generation;
    for (const std::unique_ptr<Group> &group : m_groups) {
        Group *g = group.get();
        g->timer.setInterval(g->rate);
        connect(&g->timer, &QTimer::timeout, this, [this, g] { poll(*g); });
        g->timer.start();
        // The first poll at once, from the event loop, so that the caller
        // has its handlers in place before the first values arrive.
        QTimer::singleShot(0, this, [this, g, generation] {
            if (generation == m_generation)
                poll(*g);
        });
    }
    qCInfo(lcEthernet) << "subscribed" << subscribed << "items in" << m_groups.size() << "groups";
    return subscribed;
}

void OpcDataLink::poll(Group &group)
{
    if (group.outstanding > 0)
        return; // the last poll is still on its way: polls do not pile up
    if (!group.channel) {
        QString error;
        group.channel = channelFor(group.device, &error);
        if (!group.channel) {
            pollEnded(group);
            return;
        }
    }
    QList<int> registers;
    bool moduleLink = false;
    for (const Item &item : group.items) {
        if (item.parsed.isRegister())
            registers << item.parsed.registerNumber();
        moduleLink = moduleLink || item.parsed.kind() == OpcItemName::Kind::ModuleLink;
    }
    // Whether the device answers is known only from asking it something.
    if (registers.isEmpty() && moduleLink)
        registers << ParamText::statusRegister(0);
    const QList<Run> runs = runsOf(registers);
    // Counted one more until every run is asked: a connection refused at
    // once answers inside read().
    group.outstanding = int(runs.size()) + 1;
    const quint64 generation = m_generation;
    const QPointer<OpcDataLink> self(this);
    Group *g = &group;
    for (const Run &run : runs) {
        group.channel->read(run.first, run.count, [self, g, generation, run](int result, const QList<qint16> &values) {
            if (self)
                self->runAnswered(*g, generation, result, run.first, values);
        });
        if (generation != m_generation)
            return;
    }
    runAnswered(group, generation, -1, 0, {});
}

void OpcDataLink::runAnswered(Group &group, quint64 generation, int result, int first, const QList<qint16> &values)
{
    if (generation != m_generation)
        return; // the subscription it belonged to has ended
    if (result == 0) {
        for (Item &item : group.items) {
            const int offset = item.parsed.registerNumber() - first;
            if (item.parsed.isRegister() && offset >= 0 && offset < values.size()) {
                tell(item, int(values.at(offset)));
                if (generation != m_generation)
                    return; // a handler ended the subscription
            }
        }
    }
    if (--group.outstanding == 0)
        pollEnded(group);
}

void OpcDataLink::pollEnded(Group &group)
{
    const quint64 generation = m_generation;
    group.outstanding = 0;
    group.polledOnce = true;
    for (Item &item : group.items) {
        if (item.parsed.isRegister())
            continue;
        const QVariant value = item.parsed.kind() == OpcItemName::Kind::ModuleLink
            ? QVariant(group.channel && group.channel->answering() ? 1 : 0)
            : (group.channel ? deviceItem(item.parsed, *group.channel) : QVariant());
        tell(item, value);
        if (generation != m_generation)
            return;
    }
}

void OpcDataLink::tell(Item &item, const QVariant &value)
{
    if (item.told && item.value == value)
        return;
    item.value = value;
    item.told = true;
    Q_EMIT valueChanged(item.name, value);
}

QVariant OpcDataLink::deviceItem(const OpcItemName &name, DeviceChannel &channel) const
{
    const DeviceAddress &address = channel.address();
    if (name.kind() == OpcItemName::Kind::DeviceId)
        return QStringLiteral("%1:%2 unit %3").arg(address.host).arg(address.port).arg(address.unit);
    return true; // _System._Enabled: every device of a definition file is
}

bool OpcDataLink::waitFor(const std::shared_ptr<Answer> &answer, int ms)
{
    if (answer->done)
        return true;
    QEventLoop loop;
    answer->loop = &loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    answer->loop = nullptr;
    return answer->done;
}

int OpcDataLink::readItem(const QString &itemName, QVariant *value, int *quality, int timeOut)
{
    *quality = BadQuality;
    const std::optional<OpcItemName> parsed = OpcItemName::parse(itemName);
    if (!parsed)
        return UnknownItem;
    QString error;
    DeviceChannel *channel = channelFor(parsed->device(), &error);
    if (!channel) {
        qCInfo(lcEthernet).noquote() << "read of" << itemName << "refused:" << error;
        return NoDevice;
    }
    if (parsed->kind() == OpcItemName::Kind::DeviceId || parsed->kind() == OpcItemName::Kind::Enabled) {
        *value = deviceItem(*parsed, *channel);
        *quality = GoodQuality;
        return Success;
    }
    auto answer = std::make_shared<Answer>();
    const int number = parsed->isRegister() ? parsed->registerNumber() : ParamText::statusRegister(0);
    channel->read(number, 1, [answer](int result, const QList<qint16> &values) {
        answer->done = true;
        answer->result = result;
        answer->values = values;
        if (answer->loop)
            answer->loop->quit();
    });
    const bool answered = waitFor(answer, timeOut);
    if (parsed->kind() == OpcItemName::Kind::ModuleLink) {
        // The route's own knowledge: good quality either way.
        *value = answered && channel->answering() ? 1 : 0;
        *quality = GoodQuality;
        return Success;
    }
    if (!answered || answer->result != 0) {
        *quality = CommFailureQuality;
        return answered ? answer->result : int(ModbusMaster::TimeOut);
    }
    *value = int(answer->values.at(0));
    *quality = GoodQuality;
    return Success;
}

int OpcDataLink::writeItem(const QString &itemName, const QVariant &value)
{
    const std::optional<OpcItemName> parsed = OpcItemName::parse(itemName);
    if (!parsed)
        return UnknownItem;
    if (!parsed->isRegister())
        return ReadOnlyItem;
    bool whole = false;
    const qlonglong number = value.toLongLong(&whole);
    if (!whole || number < std::numeric_limits<qint16>::min() || number > std::numeric_limits<quint16>::max())
        return BadValue;
    QString error;
    DeviceChannel *channel = channelFor(parsed->device(), &error);
    if (!channel) {
        qCInfo(lcEthernet).noquote() << "write of" << itemName << "refused:" << error;
        return NoDevice;
    }
    auto answer = std::make_shared<Answer>();
    channel->write(parsed->registerNumber(), qint16(number), [answer](int result, const QList<qint16> &) {
        answer->done = true;
        answer->result = result;
        if (answer->loop)
            answer->loop->quit();
    });
    // A poll may be on the line before it: room for that one and this one.
    if (!waitFor(answer, 2 * channel->address().timeout))
        return ModbusMaster::TimeOut;
    return answer->result;
}

bool OpcDataLink::waitForFirstValues(int ms)
{
    const auto allPolled = [this] {
        return std::all_of(m_groups.begin(), m_groups.end(), [](const auto &group) { return group->polledOnce; });
    };
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(ms);
    while (!allPolled() && deadline.isActive())
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    return allPolled();
}

QVariant OpcDataLink::value(const QString &itemName) const
{
    for (const std::unique_ptr<Group> &group : m_groups) {
        for (const Item &item : group->items) {
            if (item.name == itemName && item.told)
                return item.value;
        }
    }
    return {};
}

} // namespace Tarvel

#include "BusMonitor.h"

#include "StatusScale.h"

#include "CommLink.h"
#include "TransferRows.h"
#include "base/AtomicTextFile.h"
#include "base/NumberText.h"
#include "model/AppContext.h"
#include "model/ParamText.h"
#include "ports/FileDialogs.h"

#include <QRegularExpression>

namespace Tarvel {

const QString BusMonitor::Caption = QStringLiteral("  Bus Monitor");

namespace {

constexpr int kStatusFirst = 8449; // ST00.00
constexpr int kStatusLast = 8467; // ST00.18
constexpr int kParameterGroups = 11; // P0 .. P10

std::optional<int> parameterIndex(int registerNumber)
{
    const int group = (registerNumber - 1) / 256;
    const int number = (registerNumber - 1) % 256;
    if (registerNumber < 1 || group >= kParameterGroups || number >= 100)
        return std::nullopt;
    return group * 100 + number;
}

QString csvField(const QString &text)
{
    if (!text.contains(u',') && !text.contains(u'"'))
        return text;
    return u'"' + QString(text).replace(u'"', QLatin1String("\"\"")) + u'"';
}

} // namespace

BusMonitor::BusMonitor(AppContext &ctx, QObject *parent)
    : QAbstractTableModel(parent)
    , m_ctx(ctx)
{ }

BusMonitor::~BusMonitor()
{
    detach();
}

void BusMonitor::attach()
{
    if (m_connection)
        return;
    m_connection = connect(&m_ctx.link().mod1(), &ModbusMaster::transactionTraced, this, &BusMonitor::record);
    m_routeConnection = connect(&m_ctx.link(), &CommLink::routeTransaction, this, &BusMonitor::record);
}

void BusMonitor::detach()
{
    disconnect(m_connection);
    disconnect(m_routeConnection);
    m_connection = {};
    m_routeConnection = {};
}

void BusMonitor::record(const BusTransaction &t)
{
    if (m_paused)
        return;
    if (m_all.size() >= Capacity) {
        beginResetModel();
        m_all.remove(0, Capacity / 10);
        refilter();
        endResetModel();
    }
    m_all.append(t);
    if (passes(t)) {
        beginInsertRows({}, int(m_shown.size()), int(m_shown.size()));
        m_shown.append(int(m_all.size() - 1));
        endInsertRows();
    }
    Q_EMIT recorded(t);
}

void BusMonitor::clear()
{
    beginResetModel();
    m_all.clear();
    m_shown.clear();
    endResetModel();
}

bool BusMonitor::setFilter(const QString &name)
{
    const QString text = name.trimmed();
    std::optional<int> reg;
    if (!text.isEmpty()) {
        reg = registerOf(text);
        if (!reg)
            return false;
    }
    beginResetModel();
    m_filterText = text;
    m_filterRegister = reg;
    refilter();
    endResetModel();
    return true;
}

bool BusMonitor::passes(const BusTransaction &t) const
{
    return !m_filterRegister || (*m_filterRegister >= t.startRegister && *m_filterRegister < t.startRegister + t.count);
}

void BusMonitor::refilter()
{
    m_shown.clear();
    for (int i = 0; i < m_all.size(); ++i) {
        if (passes(m_all.at(i)))
            m_shown.append(i);
    }
}

QString BusMonitor::registerName(int registerNumber)
{
    if (registerNumber >= kStatusFirst && registerNumber <= kStatusLast)
        return QStringLiteral("ST00.%1").arg(registerNumber - kStatusFirst, 2, 10, QLatin1Char('0'));
    if (const auto index = parameterIndex(registerNumber))
        return ParamText::parameterNumber(*index);
    return QStringLiteral("R%1").arg(registerNumber);
}

std::optional<int> BusMonitor::registerOf(const QString &name)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(?:P(\\d{1,2})\\.(\\d{2})|ST0?0?\\.(\\d{1,2})|R?(\\d{1,5}))$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = pattern.match(name.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    if (m.hasCaptured(1)) {
        const int group = m.captured(1).toInt();
        if (group >= kParameterGroups)
            return std::nullopt;
        return ParamText::registerNumber(group * 100 + m.captured(2).toInt());
    }
    if (m.hasCaptured(3)) {
        const int item = m.captured(3).toInt();
        return item <= kStatusLast - kStatusFirst ? std::optional<int>(kStatusFirst + item) : std::nullopt;
    }
    const int number = m.captured(4).toInt();
    return number >= 1 && number <= 0x10000 ? std::optional<int>(number) : std::nullopt;
}

QString BusMonitor::functionText(int function)
{
    switch (function) {
    case 3:
        return QStringLiteral("read 03");
    case 6:
        return QStringLiteral("write 06");
    case 16:
        return QStringLiteral("write 16");
    default:
        return QStringLiteral("fn %1").arg(function);
    }
}

QString BusMonitor::resultText(const BusTransaction &t)
{
    return t.failed() ? QStringLiteral("FAILED ") + ModbusMaster::resultText(t.result) : QStringLiteral("ok");
}

// A parameter of the configuration loaded is scaled by its resolution (the
// register holds value / resolution); a status value by its fixed divisor.
QString BusMonitor::valueText(int registerNumber, qint16 value) const
{
    if (registerNumber >= kStatusFirst && registerNumber <= kStatusLast) {
        const int divisor = StatusScale::divisor(registerNumber - kStatusFirst);
        return divisor == 1 ? QString::number(value) : NumberText::single(double(value) / divisor);
    }
    const auto index = parameterIndex(registerNumber);
    const ParamTables &t = m_ctx.params;
    if (!index || !(t.blnTextShown[*index] || t.blnListShown[*index]) || t.sngResolution[*index] <= 0)
        return QString::number(value);
    TransferRow row;
    row.resolution = t.sngResolution[*index];
    return NumberText::single(row.engineering(value));
}

QString BusMonitor::decodedValues(const BusTransaction &t) const
{
    QStringList parts;
    for (int i = 0; i < t.values.size(); ++i)
        parts << registerName(t.startRegister + i) + u'=' + valueText(t.startRegister + i, t.values.at(i));
    return parts.join(u' ');
}

QString BusMonitor::cell(const BusTransaction &t, int column) const
{
    switch (column) {
    case Time:
        return t.time.toString(QStringLiteral("HH:mm:ss.zzz"));
    case Node:
        return QString::number(t.node);
    case Function:
        return functionText(t.function);
    case Register:
        return QString::number(t.startRegister);
    case Count:
        return QString::number(t.count);
    case Values:
        return decodedValues(t);
    case Result:
        return resultText(t);
    case RoundTrip:
        return QString::number(double(t.roundTripUs) / 1000.0, 'f', 1);
    default:
        return {};
    }
}

QString BusMonitor::line(const BusTransaction &t) const
{
    QString text = cell(t, Time) + QStringLiteral("  node ") + cell(t, Node) + QStringLiteral("  ") + cell(t, Function)
        + QStringLiteral("  reg ") + cell(t, Register) + QStringLiteral(" n ") + cell(t, Count);
    if (!t.values.isEmpty())
        text += QStringLiteral("  ") + cell(t, Values);
    return text + QStringLiteral("  ") + cell(t, Result) + QStringLiteral("  ") + cell(t, RoundTrip)
        + QStringLiteral(" ms");
}

QStringList BusMonitor::textLines() const
{
    QStringList lines;
    for (int row = 0; row < m_shown.size(); ++row)
        lines << line(shown(row));
    return lines;
}

QStringList BusMonitor::csvLines() const
{
    QStringList lines {QStringLiteral("Time,Node,Function,Register,Count,Values,Result code,Result,Round trip ms")};
    for (int row = 0; row < m_shown.size(); ++row) {
        const BusTransaction &t = shown(row);
        QStringList fields;
        for (int column : {Time, Node, Function, Register, Count, Values})
            fields << csvField(cell(t, column));
        fields << QString::number(t.result) << csvField(cell(t, Result)) << cell(t, RoundTrip);
        lines << fields.join(u',');
    }
    return lines;
}

bool BusMonitor::saveAs()
{
    FileDialogs *dialogs = m_ctx.fileDialogs();
    if (!dialogs)
        return false;
    FileDialogRequest request;
    request.mode = FileDialogRequest::Save;
    request.title = QStringLiteral("Save Bus Monitor");
    request.filter = QStringLiteral("text files (*.txt)|*.txt|CSV files (*.csv)|*.csv");
    request.initialDir = m_ctx.paths().configsDir();
    request.confirmOverwrite = true;
    const QString path = dialogs->chooseFile(request);
    if (path.isEmpty())
        return false;
    bool saved = false;
    m_ctx.trap(QStringLiteral("frmBusMonitor, cmdSave_Click"), [&] {
        AtomicTextFile::write(
            path, path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ? csvLines() : textLines());
        saved = true;
    });
    return saved;
}

int BusMonitor::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

int BusMonitor::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant BusMonitor::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown.size())
        return {};
    const BusTransaction &t = shown(index.row());
    if (role == Qt::DisplayRole)
        return cell(t, index.column());
    if (role == FailedRole)
        return t.failed();
    if (role == Qt::TextAlignmentRole && index.column() != Values && index.column() != Result
        && index.column() != Function)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant BusMonitor::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char *const names[]
        = {"Time", "Node", "Function", "Register", "Count", "Values", "Result", "Round trip (ms)"};
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromLatin1(names[section]);
}

} // namespace Tarvel

#include "FileDifferences.h"

#include "base/NumberText.h"
#include "catalogue/Catalogue.h"
#include "model/AppContext.h"
#include "model/ParamText.h"

namespace Tarvel {

namespace {

// " = 3"; nothing for a set that holds no value there.
QString valuePart(const QString &value)
{
    return value.trimmed().isEmpty() ? QString() : QStringLiteral(" = ") + value.trimmed();
}

} // namespace

FileDifferences::FileDifferences(AppContext &ctx)
    : m_ctx(ctx)
{ }

std::optional<QMap<int, QString>> FileDifferences::driveParameters(const DriveKey &drive)
{
    if (!drive.isPlausible())
        return std::nullopt;
    std::unique_ptr<Catalogue> catalogue = connectDB(m_ctx);
    RecordSet rs = catalogue->query(QStringLiteral("Select * From qryTabParams WHERE Series = ")
        + DriveKey::quoted(drive.series) + QStringLiteral(" AND Model = ") + DriveKey::quoted(drive.model)
        + QStringLiteral(" AND REV = ") + DriveKey::quoted(drive.rev));
    QMap<int, QString> names;
    for (; !rs.eof(); rs.moveNext())
        names.insert(rs.field(QStringLiteral("Parameter")).toInt(),
            ParamText::name(rs.field(QStringLiteral("Description")).toString()));
    catalogue->release();
    if (names.isEmpty())
        return std::nullopt;
    return names;
}

std::optional<QVector<ParamDifference>> FileDifferences::compare(const ConfigValues &first, const ConfigValues &second)
{
    const std::optional<QMap<int, QString>> a = driveParameters(first.drive);
    const std::optional<QMap<int, QString>> b = a ? driveParameters(second.drive) : std::nullopt;
    if (!a || !b)
        return std::nullopt;
    QMap<int, QString> all = *a;
    all.insert(*b);
    QVector<ParamDifference> out;
    for (auto it = all.cbegin(); it != all.cend(); ++it) {
        const int i = it.key();
        ParamDifference d {i, it.value(), first.values.value(i), second.values.value(i)};
        if (!a->contains(i))
            d.kind = ParamDifference::Kind::OnlySecond;
        else if (!b->contains(i))
            d.kind = ParamDifference::Kind::OnlyFirst;
        else if (sameValue(d.first, d.second))
            continue;
        out << d;
    }
    return out;
}

ConfigValues FileDifferences::editorValues(const AppContext &ctx)
{
    const AppState &s = ctx.state;
    ConfigValues out {{s.strSeries, s.strModel, s.strRev}, {}};
    for (int i : EditorForm::fieldIndices())
        out.values.insert(i, ctx.editor.txtP(i).text());
    return out;
}

bool FileDifferences::sameValue(const QString &a, const QString &b)
{
    if (a.trimmed() == b.trimmed())
        return true;
    return NumberText::isNumeric(a) && NumberText::isNumeric(b) && NumberText::val(a) == NumberText::val(b);
}

QString FileDifferences::line(const ParamDifference &d, const QString &first, const QString &second)
{
    QString text = ParamText::parameterNumber(d.index) + QStringLiteral(" - ");
    switch (d.kind) {
    case ParamDifference::Kind::Differs:
        text += first + QStringLiteral(" = ") + d.first.trimmed() + u' ' + second + QStringLiteral(" = ")
            + d.second.trimmed();
        break;
    case ParamDifference::Kind::OnlyFirst:
        text += QStringLiteral("only in ") + first + valuePart(d.first);
        break;
    case ParamDifference::Kind::OnlySecond:
        text += QStringLiteral("only in ") + second + valuePart(d.second);
        break;
    }
    return d.name.isEmpty() ? text : text + QStringLiteral(" (") + d.name + u')';
}

} // namespace Tarvel

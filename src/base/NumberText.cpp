#include "NumberText.h"

#include <QRegularExpression>

#include <cmath>

namespace Tarvel {

QString NumberText::single(double value)
{
    const float f = float(value);
    if (f == 0.0f)
        return QStringLiteral("0");
    QString text = QString::number(double(f), 'g', 7);
    const qsizetype e = text.indexOf(u'e');
    if (e < 0)
        return text;
    // Qt writes 1e+07 / 1.5e-05; the classic form is 1E+07 / 1.5E-05.
    QString mantissa = text.left(e);
    QString exponent = text.mid(e + 1);
    const QChar sign = exponent.at(0);
    exponent = exponent.mid(1);
    while (exponent.size() < 2)
        exponent.prepend(u'0');
    return mantissa + u'E' + sign + exponent;
}

QString NumberText::variant(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return QString();
    bool ok = false;
    const double d = value.toDouble(&ok);
    return ok ? single(d) : value.toString();
}

bool NumberText::isNumeric(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?\s*$)"));
    return pattern.match(text).hasMatch();
}

double NumberText::val(const QString &text)
{
    static const QRegularExpression lead(QStringLiteral(R"(^\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?)"));
    const QRegularExpressionMatch m = lead.match(text);
    return m.hasMatch() ? m.captured(0).trimmed().toDouble() : 0.0;
}

} // namespace Tarvel

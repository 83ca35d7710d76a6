#include "DependencyRules.h"

#include "LabelColours.h"
#include "Resolution.h"
#include "ValueCheck.h"
#include "base/Logging.h"
#include "base/NumberText.h"
#include "model/AppContext.h"
#include "model/ParamText.h"
#include "ports/Prompter.h"

#include <cmath>

namespace Tarvel {

namespace {

// Information messages without a title of their own carry the program's.
const QString AppTitle = QStringLiteral("Tarvel");
const QString InvalidValue = QStringLiteral("Invalid Value");
const QString Dependency = QStringLiteral("Parameter Dependency");
const QString SpeedSelection = QStringLiteral("P4.00 must be set to 1 to enable speed selection.");

// The digital inputs whose multi-speed choices (14 to 16) need P4.00 = 1:
// MI4 to MI6 on every drive, up to MI11 on series 3.
bool isSpeedInput(int index, RuleSet set)
{
    const int last = (set == RuleSet::D || set == RuleSet::E) ? 310 : 305;
    return index >= 303 && index <= last;
}

bool isMultiSpeedChoice(double v)
{
    return v > 13 && v < 17;
}

} // namespace

DependencyRules::DependencyRules(AppContext &ctx)
    : m_ctx(ctx)
{ }

RuleSet DependencyRules::ruleSet(const QString &series, const QString &rev)
{
    static const QStringList setA {QStringLiteral("105"), QStringLiteral("106"), QStringLiteral("107"),
        QStringLiteral("108"), QStringLiteral("109")};
    static const QStringList setC {
        QStringLiteral("104"), QStringLiteral("105"), QStringLiteral("106"), QStringLiteral("107")};
    if (series == QLatin1String("01") && setA.contains(rev))
        return RuleSet::A;
    if (series == QLatin1String("02") && rev == QLatin1String("103"))
        return RuleSet::B;
    if (series == QLatin1String("02") && setC.contains(rev))
        return RuleSet::C;
    if (series == QLatin1String("03") && (rev == QLatin1String("100") || rev == QLatin1String("102")))
        return RuleSet::D;
    if (series == QLatin1String("03") && rev == QLatin1String("104"))
        return RuleSet::E;
    return RuleSet::None;
}

QString DependencyRules::name(RuleSet set)
{
    switch (set) {
    case RuleSet::A:
        return QStringLiteral("A");
    case RuleSet::B:
        return QStringLiteral("B");
    case RuleSet::C:
        return QStringLiteral("C");
    case RuleSet::D:
        return QStringLiteral("D");
    case RuleSet::E:
        return QStringLiteral("E");
    case RuleSet::None:
        break;
    }
    return QStringLiteral("none");
}

void DependencyRules::dependent(int index, const QString &series, const QString &model, const QString &rev)
{
    Q_UNUSED(model) // the rules of a family hold for all its ratings
    m_ctx.trap(QStringLiteral("basfunctions, Dependent()"), [&] {
        const RuleSet set = ruleSet(series, rev);
        if (set == RuleSet::None)
            return;
        apply(index, set);
    });
}

void DependencyRules::apply(int index, RuleSet set)
{
    // Series 1 (set A) has no PID group and no base-frequency list check;
    // series 3 (sets D and E) has more digital inputs and feedback modes.
    const bool series1 = set == RuleSet::A;
    const bool series3 = set == RuleSet::D || set == RuleSet::E;
    if (index == 1 || index == 317)
        limitCurrentAttained();
    else if (index == 2 && !series1)
        checkBaseFrequency(index);
    else if (index == 3 || index == 4)
        keepMaxSpeedAboveRated();
    else if (index == 200)
        applyVoltsHertzPattern(index);
    else if (index >= 204 && index <= 207)
        checkVoltsHertzPoint(index);
    else if (index == 210 && series3)
        checkFeedbackMode(index);
    else if (index == 301)
        lockInput3(index);
    else if (index == 302)
        checkInput3(index);
    else if (isSpeedInput(index, set))
        checkSpeedInput(index);
    else if ((index == 400 || index == 413) && set == RuleSet::E)
        checkSecondSource(index);
    else if (index == 602 && series3)
        checkRestartSource();
    else if (index == 615 || index == 616)
        checkFrequencyLimits(index);
    else if (index == 700 && !series1)
        checkPidOperation(index);
    else if (index == 701 && !series1)
        walkPidSetPoints();
    else if (index >= 710 && index <= 717 && !series1)
        boundPidSetPoint(index);
}

// P0.01 / P3.17: the current-attained level can never exceed the motor's
// rated current; lowering the motor current pulls it down at once.
void DependencyRules::limitCurrentAttained()
{
    const double motorCurrent = enteredValue(1);
    if (!inRange(1, motorCurrent))
        return; // the range check refuses the entry; nothing to follow it
    m_ctx.params.varMax[317] = motorCurrent;
    trace(QStringLiteral("Dependent: upper bound of P3.17 set to ") + NumberText::single(motorCurrent));
    if (value(317) > motorCurrent)
        setValue(317, NumberText::single(motorCurrent));
}

// P0.03 / P0.04: the maximum motor speed is at least the rated speed.
void DependencyRules::keepMaxSpeedAboveRated()
{
    const double ratedSpeed = enteredValue(3);
    if (!inRange(3, ratedSpeed))
        return; // the range check refuses the entry; nothing to follow it
    m_ctx.params.varMin[4] = ratedSpeed;
    trace(QStringLiteral("Dependent: lower bound of P0.04 set to ") + NumberText::single(ratedSpeed));
    if (value(4) < ratedSpeed)
        setValue(4, NumberText::single(ratedSpeed));
}

// P0.02: the base frequency list of the later families holds only these.
void DependencyRules::checkBaseFrequency(int index)
{
    const QString text = m_ctx.editor.txtP(index).text();
    if (text == QLatin1String("50") || text == QLatin1String("60") || text == QLatin1String("400"))
        return;
    m_ctx.prompter().msgBox(QStringLiteral("P0.02 must be 50, 60, or 400."), Msg::Information, AppTitle);
    restore(index);
}

// P2.00: the mid and minimum points of the curve are only the user's to set
// with the custom pattern (3); any other pattern puts the defaults back.
void DependencyRules::applyVoltsHertzPattern(int index)
{
    const bool custom = value(index) == 3;
    trace(
        QStringLiteral("Dependent: P2.04 to P2.07 ") + (custom ? QStringLiteral("enabled") : QStringLiteral("reset")));
    for (int k = 204; k <= 207; ++k) {
        if (!custom) {
            const QVariant &def = m_ctx.params.varDefault[k];
            setValue(k, def.isNull() ? QStringLiteral(" ") : NumberText::variant(def));
            m_ctx.editor.lblP(k).setForeColor(Colour::Black);
        }
        m_ctx.editor.txtP(k).setEnabled(custom);
    }
}

// P2.04 to P2.07: the points of the custom curve stay in order.
void DependencyRules::checkVoltsHertzPoint(int index)
{
    const double v = value(index);
    switch (index) {
    case 204:
        if (v < value(206) || v > value(2))
            refuse(index,
                QStringLiteral("Value must be greater than or equal to P2.06") + u'\r'
                    + QStringLiteral("and less than or equal to P0.02."));
        break;
    case 205:
        if (v < value(207) || v > value(0))
            refuse(index,
                QStringLiteral("Value must be greater than or equal to P2.07") + u'\r'
                    + QStringLiteral("and less than or equal to P0.00."));
        break;
    case 206:
        if (v > value(204))
            refuse(index, QStringLiteral("Value must be less than or equal to P2.04."));
        break;
    default:
        if (v > value(205))
            refuse(index, QStringLiteral("Value must be less than or equal to P2.05."));
        break;
    }
}

// P2.10: the feedback modes need settings on other pages.
void DependencyRules::checkFeedbackMode(int index)
{
    const double v = value(index);
    if (v != 1 && v != 3)
        return;
    information(QStringLiteral("Additional Config Details"),
        QStringLiteral("In order to set feedback for P2.10, please refer to your hardware manual") + u'\r'
            + QStringLiteral("and review settings for Parameter Groups 0 and 10."));
}

// P3.01: 3-wire operation takes digital input 3 for itself.
void DependencyRules::lockInput3(int index)
{
    const bool threeWire = value(index) == 2;
    m_ctx.editor.cmbP(302).setEnabled(!threeWire);
    trace(QStringLiteral("Dependent: P3.02 ") + (threeWire ? QStringLiteral("disabled") : QStringLiteral("enabled")));
}

void DependencyRules::checkInput3(int index)
{
    const QString title = QStringLiteral("Parameter Dependency for P") + QString::number(index);
    if (value(301) == 2) {
        information(
            title, QStringLiteral("The functionality of Digital Input 3 is being determined by the setting in P3.01"));
    } else if (isMultiSpeedChoice(value(index)) && value(400) != 1) {
        information(title, SpeedSelection);
    }
}

void DependencyRules::checkSpeedInput(int index)
{
    if (isMultiSpeedChoice(value(index)) && value(400) != 1)
        information(Dependency, SpeedSelection);
}

// P4.00 / P4.13: two sources of the frequency command must differ. The
// choice stays so the user sees what clashes; the focus goes back to it.
void DependencyRules::checkSecondSource(int index)
{
    const int other = index == 400 ? 413 : 400;
    if (value(index) != value(other))
        return;
    m_ctx.prompter().msgBox(QStringLiteral("Value of ") + ParamText::parameterNumber(index)
            + QStringLiteral(" must be different than value of ") + ParamText::parameterNumber(other)
            + QStringLiteral(". Please make another selection."),
        Msg::Exclamation, InvalidValue);
    trace(QStringLiteral("Dependent: ") + ParamText::parameterNumber(index) + QStringLiteral(" equals ")
        + ParamText::parameterNumber(other));
    m_ctx.editor.setFocus(FieldKind::List, index);
}

// P6.02: restart after power loss needs a run source other than the keypad.
void DependencyRules::checkRestartSource()
{
    if (value(300) != 0)
        return;
    information(Dependency,
        QStringLiteral("This parameter will only work if the Source of Operation, (P3.00) ") + u'\r'
            + QStringLiteral("is set to something other than 00 (Operation determined by digital keypad"));
}

// P6.15 / P6.16: upper and lower frequency limits stay in order.
void DependencyRules::checkFrequencyLimits(int index)
{
    const double v = value(index);
    if (index == 615 && v < value(616))
        refuse(index, QStringLiteral("Value must be greater than or equal to P6.16."));
    else if (index == 616 && v > value(615))
        refuse(index, QStringLiteral("Value must be less than or equal to P6.15."));
}

void DependencyRules::checkPidOperation(int index)
{
    if (value(index) > 0 && value(400) > 1)
        m_ctx.prompter().msgBox(QStringLiteral("To enable PID operation, P4.00 must be set to option 00 or 01."),
            Msg::Exclamation, Dependency);
}

// P7.01: no PID set-point may exceed the feedback full scale. Each set-point
// above it refuses the entry in turn; later ones are compared with the value
// put back, so a full scale that was already too low shows every offender.
void DependencyRules::walkPidSetPoints()
{
    for (int k = 710; k <= 717; ++k) {
        if (value(k) > value(701))
            refuse(701, QStringLiteral("Value must be greater than ") + ParamText::parameterNumber(k) + u'.');
    }
}

// P7.10 to P7.17: the full scale is the set-point's upper bound; the range
// check that follows enforces it.
void DependencyRules::boundPidSetPoint(int index)
{
    m_ctx.params.varMax[index] = value(701);
    trace(QStringLiteral("Dependent: upper bound of ") + ParamText::parameterNumber(index) + QStringLiteral(" set to ")
        + NumberText::single(value(701)));
}

double DependencyRules::value(int index) const
{
    return NumberText::val(m_ctx.editor.txtP(index).text());
}

// The rules run before the entry is rounded to its decimals. A value they
// copy into another parameter is taken as it will be once rounded, so that
// "0.805" typed for the motor current puts 0.8 (what P0.01 will show) and
// not a value with more decimals than the parameter holds into P3.17.
double DependencyRules::enteredValue(int index) const
{
    const int decimals = Resolution::decimalCount(m_ctx.params.sngResolution[index]);
    return NumberText::val(Resolution::roundToDecimals(m_ctx.editor.txtP(index).text(), decimals));
}

// A finite number inside the parameter's limits: only such a value may
// move a limit or be put into another parameter (1e39 would become inf).
bool DependencyRules::inRange(int index, double number) const
{
    const ParamTables &t = m_ctx.params;
    return std::isfinite(number) && !ValueCheck::below(number, t.varMin[index])
        && !ValueCheck::above(number, t.varMax[index]);
}

// A value a rule puts into another parameter counts as accepted: it becomes
// the parameter's last accepted value, so a later refused entry never falls
// back to a value the rule has just moved out of bounds, and the label tells
// whether it is still the default.
void DependencyRules::setValue(int index, const QString &text)
{
    if (!inRange(index, NumberText::val(text))) {
        trace(QStringLiteral("Dependent: ") + ParamText::parameterNumber(index) + QStringLiteral(" kept; ") + text
            + QStringLiteral(" is outside its limits"));
        return;
    }
    m_ctx.editor.txtP(index).setText(text);
    m_ctx.params.varLastChance[index] = text;
    if (const auto colour = LabelColours::forText(m_ctx.params.varDefault[index], text))
        m_ctx.editor.lblP(index).setForeColor(*colour);
    trace(QStringLiteral("Dependent: ") + ParamText::parameterNumber(index) + QStringLiteral(" set to ") + text);
}

void DependencyRules::refuse(int index, const QString &message)
{
    m_ctx.prompter().msgBox(message, Msg::Exclamation, InvalidValue);
    restore(index);
}

// A refused entry goes back to the text the field had when the user entered
// it. A parameter picked from a list shows the restored value in the list
// too, and the focus goes to the control the user works with.
void DependencyRules::restore(int index)
{
    const QString restored = m_ctx.params.varFocusValue.toString();
    trace(QStringLiteral("Dependent: ") + ParamText::parameterNumber(index) + QStringLiteral(" refused ")
        + m_ctx.editor.txtP(index).text() + QStringLiteral(", back to ") + restored);
    m_ctx.editor.txtP(index).setText(restored);
    const bool list = m_ctx.params.blnListShown[index];
    if (list) {
        ComboField &choices = m_ctx.editor.cmbP(index);
        if (ParamTables::listHoldsValue(index))
            choices.setText(restored);
        else
            choices.setListIndex(int(NumberText::val(restored)));
    }
    m_ctx.editor.setFocus(list ? FieldKind::List : FieldKind::Text, index);
}

void DependencyRules::information(const QString &title, const QString &text)
{
    m_ctx.prompter().msgBox(text, Msg::Information, title);
    trace(QStringLiteral("Dependent: information \"") + title + u'"');
}

void DependencyRules::trace(const QString &line)
{
    qCDebug(lcRules) << line;
    m_ctx.writeTrace(line);
}

} // namespace Tarvel

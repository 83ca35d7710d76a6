#pragma once

#include <QString>

namespace Tarvel {

class AppContext;

// The rule sets of the drive families: which parameters tie which others.
// The series and revision code of the configuration choose one; the model
// code plays no part.
enum class RuleSet { None, A, B, C, D, E };

// Dependent: the rules between parameters, applied after a parameter whose
// record is marked dependent has been changed in the editor and before its
// value is rounded and range-checked. A rule may refuse the change (message,
// the text the box had on entry put back, focus back), change another
// parameter's value, enabled state or bound, or only inform the user.
class DependencyRules
{
public:
    explicit DependencyRules(AppContext &ctx);

    static RuleSet ruleSet(const QString &series, const QString &rev);
    // "A" to "E", "none".
    static QString name(RuleSet set);

    // Applies the rule for `index` in the rule set of the drive identity
    // (at most one rule). Faults go to the error trap and end the rule.
    void dependent(int index, const QString &series, const QString &model, const QString &rev);

private:
    void apply(int index, RuleSet set);
    void limitCurrentAttained();
    void keepMaxSpeedAboveRated();
    void checkBaseFrequency(int index);
    void applyVoltsHertzPattern(int index);
    void checkVoltsHertzPoint(int index);
    void checkFeedbackMode(int index);
    void lockInput3(int index);
    void checkInput3(int index);
    void checkSpeedInput(int index);
    void checkSecondSource(int index);
    void checkRestartSource();
    void checkFrequencyLimits(int index);
    void checkPidOperation(int index);
    void walkPidSetPoints();
    void boundPidSetPoint(int index);

    double value(int index) const;
    double enteredValue(int index) const;
    bool inRange(int index, double number) const;
    void setValue(int index, const QString &text);
    void refuse(int index, const QString &message);
    void restore(int index);
    void information(const QString &title, const QString &text);
    void trace(const QString &line);

    AppContext &m_ctx;
};

} // namespace Tarvel

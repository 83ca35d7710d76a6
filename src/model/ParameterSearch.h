#pragma once

#include <QString>
#include <QVector>

#include <optional>

namespace Tarvel {

class EditorForm;
struct ParamTables;

// Finds parameters of the current configuration the way engineers name
// them: by number ("P3.05", "3.05", "305") or by words of the name
// ("accel", "motor current"). Only parameters the drive has are found.
class ParameterSearch
{
public:
    ParameterSearch(const EditorForm &form, const ParamTables &params);

    // The index a number text names: "P3.05", "p3.05", "3.05", "305",
    // "P10.05"; none when the text is no parameter number.
    static std::optional<int> parseNumber(const QString &text);

    // The matches in ascending index: the parameter of that number, else
    // those whose number starts with the text ("P3." is group 3), else
    // those whose name holds every word of the text, in any case.
    QVector<int> find(const QString &text) const;

    // Whether the drive of the configuration has the parameter.
    bool inDrive(int index) const;
    // "Accel Time 1 (s)": the label caption without the number.
    QString name(int index) const;

private:
    QVector<int> byNumberPrefix(const QString &text) const;
    QVector<int> byWords(const QString &text) const;

    const EditorForm &m_form;
    const ParamTables &m_params;
};

} // namespace Tarvel

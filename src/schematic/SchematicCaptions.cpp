#include "SchematicCaptions.h"

#include "model/EditorForm.h"

namespace Tarvel {

namespace {

QString comboText(const EditorForm &editor, int index)
{
    return editor.hasCmbP(index) ? editor.cmbP(index).text() : QString();
}

QString boxText(const EditorForm &editor, int index)
{
    return editor.hasTxtP(index) ? editor.txtP(index).text() : QString();
}

void addCommon(QHash<QString, QString> &c, const EditorForm &editor)
{
    c.insert(QStringLiteral("lblModel"), comboText(editor, 942).mid(3));
    c.insert(QStringLiteral("lblComs(0)"), comboText(editor, 901));
    c.insert(QStringLiteral("lblComs(1)"), comboText(editor, 902));
}

void addMotor(QHash<QString, QString> &c, const EditorForm &editor)
{
    static const char *const titles[] = {"Volts:", "Amps:", "Hertz:", "Base RPM:", "Max RPM:"};
    for (int i = 0; i < 5; ++i) {
        c.insert(QStringLiteral("lblMotorData(%1)").arg(i), boxText(editor, i));
        c.insert(QStringLiteral("lblMotorData(%1)").arg(i + 5), QString::fromLatin1(titles[i]));
    }
}

void addCurve(QHash<QString, QString> &c, const EditorForm &editor)
{
    c.insert(QStringLiteral("lblLoad(0)"), QStringLiteral("P2.00-") + comboText(editor, 200));
    if (!SchematicCaptions::customCurve(editor))
        return;
    for (int i = 1; i <= 6; ++i) {
        const QString value = boxText(editor, 201 + i);
        c.insert(QStringLiteral("lblLoad(%1)").arg(i), value.isEmpty() ? QStringLiteral("N/A") : value);
        c.insert(QStringLiteral("lblP2(%1)").arg(i - 1), QStringLiteral("P2.%1-").arg(i + 1, 2, 10, QLatin1Char('0')));
    }
}

} // namespace

bool SchematicCaptions::customCurve(const EditorForm &editor)
{
    bool number = false;
    return boxText(editor, 200).trimmed().toDouble(&number) == 3 && number;
}

QHash<QString, QString> SchematicCaptions::fromEditor(const EditorForm &editor, SchematicPage page)
{
    QHash<QString, QString> c;
    if (page == SchematicPage::Power) {
        addMotor(c, editor);
        addCurve(c, editor);
        c.insert(QStringLiteral("lblModel"), comboText(editor, 942).mid(3));
        return c;
    }
    addCommon(c, editor);
    c.insert(QStringLiteral("lblDI(1)"), comboText(editor, 301));
    c.insert(QStringLiteral("lblDI(2)"), comboText(editor, 301));
    if (page == SchematicPage::Single) {
        for (int n = 3; n <= 6; ++n)
            c.insert(QStringLiteral("lblDI(%1)").arg(n), comboText(editor, 299 + n));
        c.insert(QStringLiteral("lblDO1"), comboText(editor, 311));
        c.insert(QStringLiteral("lblDO2"), comboText(editor, 312));
        c.insert(QStringLiteral("lblAI"), comboText(editor, 400));
        addMotor(c, editor);
        addCurve(c, editor);
    } else {
        for (int n = 3; n <= 11; ++n)
            c.insert(QStringLiteral("lblDI(%1)").arg(n), comboText(editor, 299 + n));
        for (int k = 0; k < 4; ++k)
            c.insert(QStringLiteral("lblDO(%1)").arg(k), comboText(editor, 311 + k));
        c.insert(QStringLiteral("lblAI(1)"), comboText(editor, 400));
    }
    c.insert(QStringLiteral("lblAO"), comboText(editor, 411));
    return c;
}

const QList<CaptionLink> &SchematicCaptions::links()
{
    using P = SchematicPage;
    using T = SchematicTarget;
    static const QList<CaptionLink> list {
        {P::Single, 3, "Digital Outputs", "Click To Set Digital Output Settings", 3, 1, T::DigitalOutputs},
        {P::Single, 4, "Analog Output", "Click To Set Analog Output Settings", 4, -1, T::AnalogOutput},
        {P::Single, 16, "Analog Input", "Click To Set Analog Input Settings", 4, -1, T::AnalogInput},
        {P::Single, 17, "Digital Inputs", "Click To Set Digital Input Settings", 3, -1, T::DigitalInputs},
        {P::Single, 31, "Protection", "Click To Set Protection Settings", 6, -1, T::Protection},
        {P::Single, 32, "Ramps", "Click To Set Ramp Settings", 1, 0, T::Ramps},
        {P::Single, 35, "", "Click To Set Motor Settings", 0, -1, T::Motor},
        {P::Single, 36, "", "Click To Set PID Settings", 7, -1, T::Pid},
        {P::Single, -1, "", "", 2, -1, T::Load},
        {P::Control, 3, "Digital Outputs", "Click To Set Digital Output Settings", 3, 1, T::DigitalOutputs},
        {P::Control, 17, "Digital Inputs", "Click To Set Digital Input Settings", 3, -1, T::DigitalInputs},
        {P::Control, 4, "Analog Output", "Click To Set Analog Output Settings", 4, -1, T::AnalogOutput},
        {P::Control, 16, "Analog Input", "Click To Set Analog Input Settings", 4, -1, T::AnalogInput},
        {P::Control, 31, "Protection", "Click To Set Protection Settings", 6, -1, T::Protection},
        {P::Control, 32, "Ramps", "Click To Set Ramp Settings", 1, 0, T::Ramps},
        {P::Control, 36, "", "Click To Set PID Settings", 7, -1, T::Pid},
        {P::Power, 1, "Parameters", "Click To Set Encoder Feedback Settings", 10, -1, T::Feedback},
        {P::Power, 2, "Set P 10.xx", "Click To Set Encoder Feedback Settings", 10, -1, T::Feedback},
        {P::Power, 35, "", "Click To Set Motor Settings", 0, -1, T::Motor},
        {P::Power, -1, "", "", 2, -1, T::Load},
    };
    return list;
}

const CaptionLink *SchematicCaptions::link(SchematicPage page, int index, bool reducedModel)
{
    if (page == SchematicPage::Single && reducedModel && (index == 4 || index == 36))
        return nullptr;
    for (const CaptionLink &l : links())
        if (l.page == page && l.index == index && index >= 0)
            return &l;
    return nullptr;
}

const CaptionLink *SchematicCaptions::loadLink(SchematicPage page)
{
    for (const CaptionLink &l : links())
        if (l.page == page && l.index < 0)
            return &l;
    return nullptr;
}

} // namespace Tarvel

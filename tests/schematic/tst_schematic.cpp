#include "TestMain.h"
#include "support/TestSupport.h"

#include "base/TextFile.h"
#include "catalogue/ParamLoader.h"
#include "schematic/SchematicCaptions.h"
#include "schematic/SchematicFile.h"
#include "schematic/SchematicModel.h"
#include "schematic/SymbolChoices.h"

#include <QFile>
#include <QtTest>

using namespace Tarvel;

namespace {

const DriveKey QX1 {"01", "02", "104"};
const DriveKey QX2 {"02", "05", "120"};
const DriveKey QX3 {"03", "06", "104"};

DriveKey driveOf(const QString &series)
{
    return series == "01" ? QX1 : series == "02" ? QX2 : QX3;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A program folder with one drive loaded and its schematic state.
struct Fixture
{
    explicit Fixture(const QString &series)
    {
        if (!ParamLoader(program.ctx()).loadDrive(driveOf(series)))
            qFatal("drive not loaded");
        model.load();
    }
    QString file(const QString &name) const { return program.path("Configs/" + name); }
    Test::TempProgram program;
    SchematicModel model {program.ctx()};
};

} // namespace

class TestSchematicFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void roundTrip_data()
    {
        QTest::addColumn<QString>("series");
        QTest::addColumn<QString>("state");
        QTest::newRow("series 1") << "01"
                                  << "20034000X1";
        QTest::newRow("series 2 defaults") << "02"
                                           << "21444444X1";
        QTest::newRow("series 3") << "03"
                                  << "321210130340434000";
        QTest::newRow("series 3 other digits") << "03"
                                               << "101001004444444443";
    }
    // What is read back is written again unchanged, the file's lines as
    // fixed, the state string without a line end.
    void roundTrip()
    {
        QFETCH(QString, series);
        QFETCH(QString, state);
        Fixture f(series);
        f.program.ctx().state.strConfigPath = f.file("Pump1.qxc");
        const QString path = f.file("Pump1.qxs");
        writeAll(path, "#x\r\n@" + f.file("Pump1.qxc").toLatin1() + "\r\n" + state.toLatin1());
        bool shown = false;
        QVERIFY(SchematicFile(f.program.ctx(), f.model).openSchematic(path, [&] { shown = true; }));
        QVERIFY(shown);
        QCOMPARE(f.program.ctx().editor.tag(), "3");
        QCOMPARE(f.model.stateString(), state);
        f.model.setSchematicChanged(true);
        QVERIFY(SchematicFile(f.program.ctx(), f.model).saveSchematic(path, true));
        QVERIFY(!f.model.schematicChanged());
        const QStringList lines = TextFile::decodeLines(readAll(path));
        QCOMPARE(lines.size(), 6);
        QVERIFY(lines[0].startsWith('#') && lines[0].size() > 5);
        QCOMPARE(lines[1],
            "#WARNING! Changing any contents of this file may result in the confirguration no longer "
            "being valid and could cause adverse effects if used.");
        QCOMPARE(lines[2], "#Only make changes when instructed to do so from Tech Support personnel.");
        QCOMPARE(lines[3], "#Schematic Configuration Follows.");
        QCOMPARE(lines[4], "@" + f.file("Pump1.qxc"));
        QVERIFY(readAll(path).endsWith("\r\n" + state.toLatin1()));
        const auto &msg = f.program.prompter().messages();
        QCOMPARE(msg.size(), 1);
        QCOMPARE(msg[0].text, path + " has been saved and is \rnow your current working schematic configuration.");
        QCOMPARE(msg[0].title, "Schematic Config File Saved");
    }

    void reading_data()
    {
        QTest::addColumn<QString>("series");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("state");
        QTest::newRow("only 3: disconnect cleared, rest kept") << "02" << QByteArray("3") << "31444444X1";
        QTest::newRow("digit a table lacks") << "02" << QByteArray("29134000X1") << "21434000X1";
        QTest::newRow("cut short") << "02" << QByteArray("003") << "00344444X1";
        QTest::newRow("X position ignored") << "02" << QByteArray("2103400030") << "21034000X0";
        QTest::newRow("path line starting with a digit") << "02" << QByteArray("#d\r\n@0123\r\n1\r\n") << "11444444X1";
        QTest::newRow("last state line wins per position") << "02" << QByteArray("0\n\n3000") << "30004444X1";
        QTest::newRow("series 3 pages") << "03" << QByteArray("3\n 1\n#2\n2021111033") << "201111103344444444";
        QTest::newRow("series 3 unknown digits") << "03" << QByteArray("492321933") << "021001033444444444";
    }
    void reading()
    {
        QFETCH(QString, series);
        QFETCH(QByteArray, file);
        QFETCH(QString, state);
        Fixture f(series);
        writeAll(f.file("a.qxs"), file);
        QVERIFY(SchematicFile(f.program.ctx(), f.model).openSchematic(f.file("a.qxs")));
        QCOMPARE(f.model.stateString(), state);
    }

    void missingFile()
    {
        Fixture f("02");
        f.program.ctx().editor.setTag("1");
        bool shown = false;
        QVERIFY(!SchematicFile(f.program.ctx(), f.model).openSchematic(f.file("none.qxs"), [&] { shown = true; }));
        QVERIFY(!shown);
        QCOMPARE(f.program.ctx().editor.tag(), "1");
        QVERIFY(f.program.errorLogLines().isEmpty());
    }

    void unwritable()
    {
        Fixture f("02");
        QVERIFY(!SchematicFile(f.program.ctx(), f.model).saveSchematic(f.file("no/such/dir.qxs"), true));
        QVERIFY(f.program.prompter().messages().isEmpty());
        QVERIFY(f.program.errorLogLines().join('\n').contains("basFunctions, SaveSchematic()"));
    }
};

class TestSchematicModel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void clicks()
    {
        Fixture f("03");
        SchematicModel &m = f.model;
        const QString start = m.stateString();
        QVERIFY(!m.isShown("lblResistor(0)") && !m.isShown("lblResistor(1)"));
        m.cycleBrakeUnit();
        QVERIFY(m.isShown("lblResistor(0)") && !m.isShown("lblResistor(1)"));
        m.cycleBrakeUnit();
        m.cycleBrakeUnit();
        QVERIFY(!m.isShown("lblResistor(0)") && m.isShown("lblResistor(1)"));
        m.cycleBrakeUnit();
        QCOMPARE(m.stateString(), start);
        QVERIFY(m.isShown("recSource") && m.isShown("dot24V") && !m.isShown("lineDCM1"));
        m.toggleSw1();
        QVERIFY(!m.isShown("recSource") && m.isShown("recSink") && m.isShown("dotDCM") && !m.isShown("line24V2"));
        m.cycleFeedback();
        m.cycleFeedback();
        QVERIFY(!m.isShown("recCover") && m.isShown("shapeLine(6)"));
        m.toggleOutputType();
        m.toggleSupply();
        QVERIFY(m.isShown("recTP") && !m.isShown("recOC") && m.isShown("rec12V") && !m.isShown("rec5V"));
        // Sink at position 7, the RPM meter board at position 4.
        QCOMPARE(m.stateString(), "021211144444444444");
        m.toggleSw1();
        QCOMPARE(m.stateString().at(6), '0');
        QVERIFY(m.schematicChanged());
    }

    void brakeToggle_data()
    {
        QTest::addColumn<QString>("series");
        QTest::addColumn<bool>("toggles");
        QTest::newRow("model character 1: fixed") << "01" << false;
        QTest::newRow("model character 2") << "02" << true;
    }
    void brakeToggle()
    {
        QFETCH(QString, series);
        QFETCH(bool, toggles);
        Fixture f(series);
        QCOMPARE(f.model.reducedModel(), !toggles);
        QCOMPARE(f.model.isShown("recCoverQX1"), !toggles);
        QCOMPARE(f.model.toggleBrake(), toggles);
        QCOMPARE(f.model.digit(ElementKind::BrakeFrame), toggles ? 0 : 1);
        QCOMPARE(f.model.isShown("lblSchematic(38)"), toggles);
        QCOMPARE(f.model.schematicChanged(), toggles);
    }

    void pickers_data()
    {
        QTest::addColumn<QString>("series");
        QTest::addColumn<int>("picker");
        QTest::addColumn<QList<int>>("digits"); // clicked in this order
        QTest::addColumn<int>("input");
        QTest::addColumn<QString>("state");
        QTest::newRow("input 3 N.O.") << "02" << int(PickerKind::Input) << QList<int> {0} << 3 << "21440444X1";
        QTest::newRow("input 6 N.C.") << "02" << int(PickerKind::Input) << QList<int> {3} << 6 << "21444443X1";
        QTest::newRow("input 2 none after N.C.")
            << "02" << int(PickerKind::Input) << QList<int> {3, 4} << 2 << "21444444X1";
        QTest::newRow("last click wins") << "02" << int(PickerKind::Fuse) << QList<int> {1, 2, 0} << 0 << "01444444X1";
        QTest::newRow("reactor") << "02" << int(PickerKind::Reactor) << QList<int> {0} << 0 << "20444444X1";
        QTest::newRow("series 3 input on page 1")
            << "03" << int(PickerKind::Input) << QList<int> {3} << 11 << "021000044444444443";
        QTest::newRow("series 3 disconnect on page 2")
            << "03" << int(PickerKind::Fuse) << QList<int> {1} << 0 << "011000044444444444";
    }
    void pickers()
    {
        QFETCH(QString, series);
        QFETCH(int, picker);
        QFETCH(QList<int>, digits);
        QFETCH(int, input);
        QFETCH(QString, state);
        Fixture f(series);
        QList<int> offered;
        for (const SymbolChoice &c : SymbolChoices::choices(PickerKind(picker)))
            offered << c.digit;
        for (int d : digits) {
            QVERIFY(offered.contains(d));
            QVERIFY(SymbolChoices::pick(f.model, PickerKind(picker), d, input));
        }
        QCOMPARE(f.model.stateString(), state);
        QVERIFY(!f.model.schematicChanged()); // the window sets it when the picker closes
    }

    void guidedTour_data()
    {
        QTest::addColumn<QString>("series");
        QTest::addColumn<QList<int>>("targets");
        QTest::addColumn<QStringList>("arrows"); // page letter and index after each click; "-" none
        using T = SchematicTarget;
        const QList<int> tour {int(T::Motor), int(T::Load), int(T::Ramps), int(T::DigitalInputs),
            int(T::DigitalOutputs), int(T::AnalogInput), int(T::AnalogOutput), int(T::Pid), int(T::Protection)};
        QTest::newRow("series 2") << "02" << tour << QStringList {"S1", "S2", "S3", "S4", "S5", "S6", "S7", "S8", "-"};
        QTest::newRow("model character 1 skips analog output and PID")
            << "01"
            << QList<int> {int(T::Motor), int(T::Load), int(T::Ramps), int(T::DigitalInputs), int(T::DigitalOutputs),
                   int(T::AnalogInput), int(T::Protection)}
            << QStringList {"S1", "S2", "S3", "S4", "S5", "S8", "-"};
        QList<int> tour3 = tour;
        tour3.insert(2, int(T::Feedback));
        QTest::newRow("series 3 over both pages")
            << "03" << tour3 << QStringList {"P1", "P2", "C2", "C3", "C4", "C5", "C6", "C7", "C8", "-"};
    }
    void guidedTour()
    {
        QFETCH(QString, series);
        QFETCH(QList<int>, targets);
        QFETCH(QStringList, arrows);
        Fixture f(series);
        const auto text = [&] {
            const auto a = f.model.arrow();
            if (!a)
                return QString("-");
            return QString("SCP").at(int(a->page)) + QString::number(a->index);
        };
        f.model.guidedStep(SchematicTarget::Motor); // not guided: nothing
        QCOMPARE(text(), "-");
        f.model.startGuided();
        QCOMPARE(text(), series == "03" ? "P0" : "S0");
        QStringList got;
        for (int t : targets) {
            f.model.guidedStep(SchematicTarget(t));
            got << text();
        }
        QCOMPARE(got, arrows);
        QVERIFY(f.model.doneOffered());
        f.model.endGuided();
        QVERIFY(!f.model.guided() && !f.model.doneOffered() && !f.model.arrow());
    }

    void hotSpots_data()
    {
        QTest::addColumn<QString>("series");
        QTest::addColumn<int>("page");
        QTest::addColumn<QList<int>>("frames");
        QTest::newRow("model 1") << "01" << int(SchematicPage::Single) << QList<int> {0, 1, 2, 3, 6, 7, 9, 10, 11};
        QTest::newRow("model 2") << "02" << int(SchematicPage::Single) << QList<int> {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        QTest::newRow("series 3 page 1") << "03" << int(SchematicPage::Control)
                                         << QList<int> {0, 1, 2, 3, 4, 5, 6, 7, 8};
        QTest::newRow("series 3 page 2") << "03" << int(SchematicPage::Power) << QList<int> {0, 1, 2, 3, 4, 5};
    }
    void hotSpots()
    {
        QFETCH(QString, series);
        QFETCH(int, page);
        QFETCH(QList<int>, frames);
        Fixture f(series);
        QVERIFY(f.model.visibleHotSpots(SchematicPage(page)).isEmpty());
        f.model.setHotSpotsShown(true);
        QCOMPARE(f.model.visibleHotSpots(SchematicPage(page)), frames);
    }

    // The windows keep their state until unloaded; another series loads
    // its own defaults, and P3.01 is read only then.
    void loadAndWiring()
    {
        Fixture f("02");
        f.program.ctx().editor.txtP(301).setText("2");
        f.model.setDigit(ElementKind::Fuse, 0, 0);
        f.model.load();
        QCOMPARE(f.model.stateString(), "01444444X1");
        QVERIFY(!f.model.stopWiring());
        f.model.unload();
        f.model.load();
        QCOMPARE(f.model.stateString(), "21444444X1");
        QVERIFY(f.model.stopWiring());
        f.program.ctx().state.strSeries = "03";
        f.model.load();
        QCOMPARE(f.model.stateString().size(), 18);
    }
};

class TestSchematicCaptions : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void captions()
    {
        Fixture f("02");
        EditorForm &e = f.program.ctx().editor;
        auto c = SchematicCaptions::fromEditor(e, SchematicPage::Single);
        QCOMPARE(c["lblModel"], e.cmbP(942).text().mid(3));
        QVERIFY(c["lblModel"].startsWith("QX-2"));
        QCOMPARE(c["lblDI(2)"], e.cmbP(301).text());
        QCOMPARE(c["lblDI(6)"], e.cmbP(305).text());
        QCOMPARE(c["lblMotorData(7)"], "Hertz:");
        QCOMPARE(c["lblLoad(0)"], "P2.00-" + e.cmbP(200).text());
        QVERIFY(!c.contains("lblLoad(1)"));
        e.txtP(200).setText("03");
        e.txtP(203).setText("");
        c = SchematicCaptions::fromEditor(e, SchematicPage::Single);
        QCOMPARE(c["lblLoad(1)"], e.txtP(202).text());
        QCOMPARE(c["lblLoad(2)"], "N/A");
        QCOMPARE(c["lblP2(5)"], "P2.07-");
    }

    void links()
    {
        QCOMPARE(SchematicCaptions::link(SchematicPage::Single, 4, true), nullptr);
        QCOMPARE(SchematicCaptions::link(SchematicPage::Single, 36, true), nullptr);
        const CaptionLink *ao = SchematicCaptions::link(SchematicPage::Single, 4, false);
        QVERIFY(ao && ao->group == 4 && QString(ao->toolTip) == "Click To Set Analog Output Settings");
        const CaptionLink *fb = SchematicCaptions::link(SchematicPage::Power, 2, true);
        QVERIFY(fb && fb->group == 10);
        QCOMPARE(SchematicCaptions::loadLink(SchematicPage::Power)->group, 2);
    }
};

TARVEL_TEST_GUILESS_MAIN(TestSchematicFile, TestSchematicModel, TestSchematicCaptions)

#include "tst_schematic.moc"

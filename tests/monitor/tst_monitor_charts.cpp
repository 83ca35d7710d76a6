#include "support/LinkTestSupport.h"
#include "support/TestMain.h"

#include "comm/RegisterTransactions.h"
#include "comm/SerialLinkMonitor.h"
#include "monitor/ChartCsv.h"
#include "monitor/ChartDecimation.h"
#include "monitor/PidTrendCommands.h"
#include "monitor/PidTuning.h"
#include "monitor/SetTrendX.h"
#include "monitor/TrendModel.h"

#include <QFile>
#include <QtTest>

#include <cmath>
#include <map>

using namespace Tarvel;
using namespace Tarvel::Test;

constexpr double NaN = SampleTable::Missing;

class TestChartSamples : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void decimationKeepsExtremes_data()
    {
        QTest::addColumn<int>("samples");
        QTest::addColumn<int>("capacity");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("missingEvery"); // 0: none
        QTest::newRow("full ring, wrapped, 800 columns") << 20000 << 15000 << 800 << 0;
        QTest::newRow("fewer samples than columns") << 300 << 15000 << 800 << 0;
        QTest::newRow("gaps in the channel") << 15000 << 15000 << 333 << 7;
    }
    // Every pixel column keeps its smallest and largest sample, in time order,
    // and nothing else but the samples just outside the range.
    void decimationKeepsExtremes()
    {
        QFETCH(int, samples);
        QFETCH(int, capacity);
        QFETCH(int, columns);
        QFETCH(int, missingEvery);
        SampleTable table({"a", "b"}, capacity);
        for (int i = 0; i < samples; ++i) {
            const double spike = i % 997 == 0 ? 1000 : 0; // single-sample peaks
            const double v = missingEvery && i % missingEvery == 0 ? NaN : std::sin(i * 0.37) * 100 + spike;
            table.append(i * 100.0, {v, -v});
        }
        const double to = (samples - 1) * 100.0;
        const double from = to - (std::min(samples, capacity) - 10) * 100.0;
        const QList<QPointF> drawn = ChartDecimation::minMax(table, 0, from, to, columns);
        QVERIFY(drawn.size() <= 2 * columns + 4);
        for (qsizetype i = 1; i < drawn.size(); ++i)
            QVERIFY(drawn[i - 1].x() < drawn[i].x());

        const double width = (to - from) / columns;
        // The smallest and largest value of each pixel column of the range.
        const auto extremes = [&](const QList<QPointF> &points) {
            std::map<long, std::pair<double, double>> out;
            for (const QPointF &p : points) {
                if (p.x() < from || p.x() > to)
                    continue;
                const long c = std::min(long((p.x() - from) / width), long(columns) - 1);
                auto [it, fresh] = out.try_emplace(c, p.y(), p.y());
                it->second = {std::min(it->second.first, p.y()), std::max(it->second.second, p.y())};
            }
            return out;
        };
        QList<QPointF> present; // the samples that are not missing
        for (int r = 0; r < table.size(); ++r) {
            if (!SampleTable::isMissing(table.value(r, 0)))
                present << QPointF(table.time(r), table.value(r, 0));
        }
        QCOMPARE(extremes(drawn), extremes(present));
        // The naive drawing holds every sample of the range.
        const auto inRange = [&](const QPointF &p) { return p.x() >= from && p.x() <= to; };
        const QList<QPointF> every = ChartDecimation::all(table, 0, from, to);
        QCOMPARE(std::count_if(every.cbegin(), every.cend(), inRange),
            std::count_if(present.cbegin(), present.cend(), inRange));
    }
    void csv()
    {
        SampleTable table({"PID Setpoint", "PID Feedback", "PMark"}, 2);
        table.append(1000.0, {50, 49.5, NaN}); // pushed out of the ring below
        table.append(5000.0, {50, 12.25, NaN});
        table.appendOne(5123.4, 2, 2.5);
        table.append(65432.0, {0.1, -3, NaN});
        const QString path = QDir::temp().filePath(QStringLiteral("tst_monitor_charts.csv"));
        ChartCsv::write(table, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(),
            QByteArray("Time (s),PID Setpoint,PID Feedback,PMark\r\n"
                       "0.000,,,2.5\r\n"
                       "60.309,0.1,-3,\r\n"));
        file.remove();
    }
};

class TestTrendAndXAxis : public QObject
{
    Q_OBJECT
    std::unique_ptr<TempProgram> m_program;

private Q_SLOTS:
    void init() { m_program = std::make_unique<TempProgram>(); }
    void cleanup() { m_program.reset(); }
    void samplesEveryPenWhetherShownOrNot()
    {
        AppContext &ctx = m_program->ctx();
        TrendModel trend(ctx);
        trend.open();
        const std::array<qint16, 12> raw {600, 598, 123, 3250, 2300, 1750, 0, 0, 0, 455, 500, 487};
        std::copy(raw.begin(), raw.end(), ctx.state.StatusValues.begin());
        ctx.editor.setTag(QStringLiteral("1"));
        ctx.editor.txtP(801).setText(QStringLiteral("2.5"));
        trend.tick(1000);
        ctx.editor.setTag(QStringLiteral("0")); // no configuration: the factor falls back to 1
        trend.tick(1100);
        QCOMPARE(trend.table().size(), 2);
        const std::vector<double> expected {59.8, 1750, 150, 12.3, 45.5, 230, 325, 50, 48.7, 60};
        for (int pen = 0; pen < TrendPens::Count; ++pen) {
            QVERIFY(!trend.penVisible(pen));
            QCOMPARE(trend.table().value(0, pen), expected[size_t(pen)]);
        }
        QCOMPARE(trend.table().value(1, 2), 60.0);
    }
    void togglePens()
    {
        TrendModel trend(m_program->ctx());
        QSignalSpy shown(&trend, &TrendModel::penVisibilityChanged);
        trend.setPenVisible(3, true);
        QCOMPARE(trend.valueSpan(), TrendModel::ValueSpan);
        trend.setAllVisible(true);
        for (int pen = 0; pen < TrendPens::Count; ++pen)
            QVERIFY(trend.penVisible(pen));
        QCOMPARE(trend.valueSpan(), TrendModel::ValueSpan); // Toggle All leaves the axis
        trend.setPenVisible(TrendPens::DcBusPen, false);
        QCOMPARE(trend.valueSpan(), TrendModel::DcBusValueSpan); // switched off: still 800
        trend.setAllVisible(false);
        for (int pen = 0; pen < TrendPens::Count; ++pen)
            QVERIFY(!trend.penVisible(pen));
        QCOMPARE(shown.size(), 1 + 10 + 1 + 10);
    }
    void xAxisDialog_data()
    {
        QTest::addColumn<int>("tag"); // the calling chart's: 1 trend, 2 PID
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("message"); // title: text
        QTest::addColumn<double>("trendMinutes");
        QTest::addColumn<double>("pidMinutes");
        const int applied = int(SetTrendX::Outcome::Applied);
        const int range = int(SetTrendX::Outcome::OutOfRange);
        const QString outOfRange = "Value Out Of Range: Enter a value 0 - 250.";
        QTest::newRow("250") << 1 << "250" << applied << "" << 250.0 << 5.04;
        QTest::newRow("250.5") << 1 << "250.5" << applied << "" << 250.5 << 5.04;
        QTest::newRow("0") << 1 << " 0 " << applied << "" << 0.0 << 5.04;
        QTest::newRow("251") << 1 << "251" << range << outOfRange << 5.04 << 5.04;
        QTest::newRow("-1") << 1 << "-1" << range << outOfRange << 5.04 << 5.04;
        QTest::newRow("not a number") << 1 << "10 min" << int(SetTrendX::Outcome::NotNumeric)
                                      << "Invalid Entry: Pleas enter a valid number." << 5.04 << 5.04;
        QTest::newRow("PID chart") << 2 << "12" << applied << "" << 5.04 << 12.0;
        QTest::newRow("other tag") << 3 << "12" << int(SetTrendX::Outcome::NoChart) << "" << 5.04 << 5.04;
    }
    void xAxisDialog()
    {
        QFETCH(int, tag);
        QFETCH(QString, text);
        QFETCH(int, outcome);
        QFETCH(QString, message);
        QFETCH(double, trendMinutes);
        QFETCH(double, pidMinutes);
        AppContext &ctx = m_program->ctx();
        TrendModel trend(ctx);
        PidTuning pid(ctx);
        SetTrendX dialog(
            ctx, [&](const QString &t) -> ChartXSpan * { return t == "1" ? static_cast<ChartXSpan *>(&trend) : &pid; });
        dialog.setTag(QString::number(tag));
        QCOMPARE(int(dialog.update(text)), outcome);
        const auto &shown = m_program->prompter().messages();
        QCOMPARE(shown.isEmpty() ? QString() : shown.first().title + ": " + shown.first().text, message);
        if (!shown.isEmpty())
            QCOMPARE(Msg::icon(shown.first().style),
                outcome == int(SetTrendX::Outcome::OutOfRange) ? 0 : int(Msg::Exclamation));
        QCOMPARE(SetTrendX::minutesText(trend), QString::number(trendMinutes));
        QCOMPARE(SetTrendX::minutesText(pid), QString::number(pidMinutes));
        if (outcome == int(SetTrendX::Outcome::NotNumeric))
            QCOMPARE(dialog.restoredText(), "5.04");
    }
};

// The main window's Trend and PID Tuning commands before their screens.
class ScreensShown : public PidTrendCommands::Windows
{
public:
    QStringList shown;
    void showConnectDialog() override { shown << "connect"; }
    void showTrend() override { shown << "trend"; }
    void showPid() override { shown << "pid"; }
};

class TestPidTuning : public QObject
{
    Q_OBJECT
    std::unique_ptr<LinkFixture> m_link;

    qint16 read(int address) { return RegisterTransactions(m_link->ctx()).uploadWhile(address, 1); }
    void write(int address, int value) { RegisterTransactions(m_link->ctx()).download1(address, qint16(value)); }

private Q_SLOTS:
    void init()
    {
        m_link = std::make_unique<LinkFixture>();
        QString error;
        QVERIFY2(m_link->connect(&error), qPrintable(error));
        QVERIFY(SerialLinkMonitor(m_link->ctx()).pollDrive());
    }
    void cleanup() { m_link.reset(); }
    void opening_data()
    {
        QTest::addColumn<int>("p700");
        QTest::addColumn<int>("p702");
        QTest::addColumn<bool>("opens");
        QTest::newRow("PID inhibited") << 0 << 1 << false;
        QTest::newRow("set-point not from the link") << 1 << 0 << false;
        QTest::newRow("ready for tuning") << 2 << 1 << true;
    }
    void opening()
    {
        QFETCH(int, p700);
        QFETCH(int, p702);
        QFETCH(bool, opens);
        write(1793, p700);
        write(1795, p702);
        write(1803, 425); // P7.10 = 42.5
        PidTuning pid(m_link->ctx());
        QCOMPARE(pid.open(1000), opens);
        const auto &shown = m_link->prompter().messages();
        QCOMPARE(shown.size(), opens ? 0 : 1);
        if (!opens) {
            QCOMPARE(shown.first().title, "PID Setpoint Functionality Disabled!");
            QVERIFY(shown.first().text.startsWith("Either P7.00 or P7.02 is not set properly."));
            QCOMPARE(pid.table().size(), 0);
            return;
        }
        QCOMPARE(pid.knobMaximum(), 100.0); // P7.01 100.0
        QCOMPARE(pid.setpoint(), 42.5);
        QCOMPARE(pid.gainText(0), "10"); // P7.20 1.00 is register 100, shown / 10
        QCOMPARE(pid.table().value(0, PidTuning::Setpoint), 42.5);
    }
    void gains_data()
    {
        QTest::addColumn<int>("gain");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("registerValue");
        const int written = int(PidTuning::GainOutcome::Written);
        QTest::newRow("P above the maximum") << 0 << "10.5" << int(PidTuning::GainOutcome::TooHigh)
                                             << "Value Too High!: Value entered is greater than the parameter's high "
                                                "range of 10."
                                             << 100;
        QTest::newRow("P at the maximum") << 0 << "10" << written << "" << 100;
        QTest::newRow("P, a tie rounds to even") << 0 << "0.25" << written << "" << 2;
        QTest::newRow("I") << 1 << "2.57" << written << "" << 257;
        QTest::newRow("D below 0") << 2 << "-0.1" << int(PidTuning::GainOutcome::TooLow)
                                   << "Value Too Low!: Value must be 0 or greater." << 0;
        QTest::newRow("not a number") << 1 << "fast" << int(PidTuning::GainOutcome::Failed) << "" << 100;
    }
    void gains()
    {
        QFETCH(int, gain);
        QFETCH(QString, text);
        QFETCH(int, outcome);
        QFETCH(QString, message);
        QFETCH(int, registerValue);
        write(1793, 1);
        write(1795, 1);
        PidTuning pid(m_link->ctx());
        QVERIFY(pid.open(1000));
        QStringList timer;
        pid.setTimerSwitch([&](bool on) { timer << (on ? "on" : "off"); });
        m_link->prompter().clear();
        m_link->prompter().enqueue(Msg::Yes); // "Confirm Action"
        QCOMPARE(int(pid.updateGain(gain, text, 2000)), outcome);
        const auto &shown = m_link->prompter().messages();
        QCOMPARE(shown.first().title, "Confirm Action");
        QCOMPARE(shown.size() > 1 ? shown.at(1).title + ": " + shown.at(1).text : QString(), message);
        QCOMPARE(int(read(PidTuning::GainRegister + gain)), registerValue);
        QCOMPARE(timer, QStringList({"off", "on"})); // the chart goes on after any outcome
        const bool marked
            = outcome == int(PidTuning::GainOutcome::Written) || outcome == int(PidTuning::GainOutcome::Failed);
        QCOMPARE(pid.table().size(), marked ? 2 : 1);
        if (outcome == int(PidTuning::GainOutcome::Failed))
            QVERIFY(m_link->errorLogLines().last().contains("frmPID, cmdPID_Click()"));
    }
    void runAndClose()
    {
        AppContext &ctx = m_link->ctx();
        PidTuning pid(ctx);
        ctx.state.DriveFaultCode = 4;
        QVERIFY(!pid.run());
        QCOMPARE(m_link->prompter().titles(), QStringList {"Drive Fault(s) Exists"});
        QCOMPARE(read(PidTuning::RunRegister), 0);
        ctx.state.DriveFaultCode = 0;
        QVERIFY(pid.run());
        QCOMPARE(read(PidTuning::RunRegister), 1);
        QVERIFY(!pid.mayUnload("Drive Status - RUN, FWD     "));
        QCOMPARE(m_link->prompter().titles().last(), "Drive Must Be Stopped!");
        pid.stop();
        QCOMPARE(read(PidTuning::RunRegister), 0);
        QVERIFY(pid.mayUnload("Drive Status - STOP, FWD     "));
    }
    void commands_data()
    {
        QTest::addColumn<bool>("linked");
        QTest::addColumn<int>("p700");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QStringList>("shown");
        const QStringList noLink {"No Connection Present", "No Connection Present"};
        QTest::newRow("no link: connect")
            << false << 1 << QList<int> {Msg::Yes, Msg::Yes} << noLink << QStringList {"connect", "connect"};
        QTest::newRow("no link: no") << false << 1 << QList<int> {Msg::No, Msg::No} << noLink << QStringList();
        QTest::newRow("PID inhibited") << true << 0 << QList<int>() << QStringList {"Incorrect Settings"}
                                       << QStringList {"trend"};
        QTest::newRow("PID: OK") << true << 3 << QList<int> {Msg::OK} << QStringList {"Proper Settings Required"}
                                 << QStringList {"trend", "pid"};
        QTest::newRow("PID: Cancel") << true << 3 << QList<int> {Msg::Cancel}
                                     << QStringList {"Proper Settings Required"} << QStringList {"trend"};
    }
    void commands()
    {
        QFETCH(bool, linked);
        QFETCH(int, p700);
        QFETCH(QList<int>, answers);
        QFETCH(QStringList, titles);
        QFETCH(QStringList, shown);
        write(1793, p700);
        if (!linked)
            m_link->link().closeConnection();
        for (const int answer : answers)
            m_link->prompter().enqueue(answer);
        ScreensShown screens;
        PidTrendCommands commands(m_link->ctx(), screens);
        commands.trend();
        commands.pid();
        QCOMPARE(m_link->prompter().titles(), titles);
        QCOMPARE(screens.shown, shown);
    }
};

TARVEL_TEST_GUILESS_MAIN(TestChartSamples, TestTrendAndXAxis, TestPidTuning)
#include "tst_monitor_charts.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The SCPI language on the real panel: each command with the frames it sends and its replies,
// each error code, the number forms and suffixes, the status registers, and what each client
// keeps for itself.

#include "doubles.h"
#include "frontpanel.h"
#include "scpiinterpreter.h"

#include <QStringList>
#include <QTest>

using namespace mq7410;
using namespace mq7410::test;

namespace {

QStringList toList(const std::vector<std::string> &texts, std::size_t from = 0)
{
    QStringList list;
    for (std::size_t i = from; i < texts.size(); ++i)
        list << QString::fromStdString(texts[i]);
    return list;
}

// The panel on a recording link, and one client. Besides SCPI lines it takes a few actions of
// the world: (reconnect), (refuse) the writes, (stall) the line, (overrun) an input line.
struct Bench
{
    RecordingLink link;
    ManualClock clock;
    FrontPanel panel{link, clock};
    ScpiInterpreter scpi{panel, {"MQ-7410 Front Panel", "mq7410 for MQ-7410 supply", "0", "0.2.0"}};

    // The reply lines of `lines`, in order.
    QStringList send(const QStringList &lines)
    {
        QStringList replies;
        for (const QString &line : lines) {
            if (line == "(reconnect)")
                panel.forgetSupplyState();
            else if (line == "(refuse)")
                link.refuseWith = "the line is down";
            else if (line == "(stall)")
                link.holdBack = true;
            else if (line == "(overrun)")
                (void)scpi.execute(FramedLine{{}, true});
            else if (const auto reply = scpi.execute(line.toStdString()))
                replies << QString::fromStdString(*reply);
        }
        return replies;
    }

    // The error queue, drained, oldest first.
    QStringList errors()
    {
        QStringList queue;
        for (QString next = send({"SYST:ERR?"}).value(0); !next.startsWith("0,");
             next = send({"SYST:ERR?"}).value(0)) {
            queue << next;
        }
        return queue;
    }
};

const QString Idle = "8D0000000000000000";

} // namespace

class TestScpi : public QObject
{
    Q_OBJECT
private slots:
    void commands_data();
    void commands();
    void errors_data();
    void errors();
    void numbers_data();
    void numbers();
    void statusRegisters_data();
    void statusRegisters();
    void clientsKeepTheirOwnState();
    void outcomesNameEachCommand();
};

void TestScpi::commands_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<QStringList>("replies");

    const QStringList reset{"8C0F0F", "880000", "870000", "8A0000", "890000", "8E00000000"};
    QTest::newRow("*IDN?") << QStringList{"*idn?"} << QStringList{}
                           << QStringList{"MQ-7410 Front Panel,mq7410 for MQ-7410 supply,0,0.2.0"};
    QTest::newRow("*RST") << QStringList{"*RST"} << reset << QStringList{};
    QTest::newRow("*RST stops a run first")
            << QStringList{"SEQ:STEP 1,5,1,0,0,0;SEQ:STAR", "*RST;SEQ:STAT?"}
            << QStringList{"8D0064000000000000", Idle} + reset << QStringList{"IDLE"};
    QTest::newRow("*RST selects CH1")
            << QStringList{"INST CH2;*RST;INST?"} << reset << QStringList{"CH1"};
    QTest::newRow("VOLT and its query")
            << QStringList{"VOLT 12.34", "VOLT?"} << QStringList{"8804D2"} << QStringList{"12.34"};
    QTest::newRow("every optional node, a channel list")
            << QStringList{":SOUR:VOLT:LEV:IMM:AMPL 5,(@2);SOURCE:VOLTAGE:LEVEL? (@ 2 )"}
            << QStringList{"8A01F4"} << QStringList{"5.00"};
    QTest::newRow("CURR and its query")
            << QStringList{"curr 1.5;CURRent?"} << QStringList{"8705DC"} << QStringList{"1.500"};
    QTest::newRow("after a reconnect a value is not known")
            << QStringList{"(reconnect)", "VOLT?;CURR? (@2);APPL? CH1"} << QStringList{}
            << QStringList{"9.91E+37;9.91E+37;9.91E+37,9.91E+37"};
    QTest::newRow("VOLT? MAX, CURR? MIN") << QStringList{"VOLT? MAX;CURR? MIN,(@2)"}
                                          << QStringList{} << QStringList{"32.00;0.000"};
    QTest::newRow("INST selects the channel") << QStringList{"INST CH2;VOLT 5;INST:SEL?;INST:NSEL?"}
                                              << QStringList{"8A01F4"} << QStringList{"CH2;2"};
    QTest::newRow("INST:NSEL selects the channel, rounded half to even")
            << QStringList{"INST:NSEL 1.5;CURR 0.25;INST?"} << QStringList{"8900FA"}
            << QStringList{"CH2"};
    QTest::newRow("APPLy and its query")
            << QStringList{"APPL CH2,5,0.25;APPL? CH2"} << QStringList{"8A01F4", "8900FA"}
            << QStringList{"5.00,0.250"};
    QTest::newRow("OUTPut on, and off by a number rounded to 0")
            << QStringList{"OUTP ON;OUTP?", "OUTP:STAT 0.4;OUTP?"}
            << QStringList{"8CF0F0", "8C0F0F"} << QStringList{"1", "0"};
    QTest::newRow("series link") << QStringList{"INST:COUP:TRAC SER;INST:COUP:TRAC?"}
                                 << QStringList{"8F00000000"} << QStringList{"SER"};
    QTest::newRow("channels apart") << QStringList{"INST:COUP:TRAC NONE;INST:COUP:TRAC?"}
                                    << QStringList{"8E00000000"} << QStringList{"NONE"};
    QTest::newRow("a step and its query")
            << QStringList{"SEQ:STEP 5,12,12.34,1.5,+0,0;SEQ:STEP? 5"} << QStringList{}
            << QStringList{"12,12.34,1.500,0.00,0.000"};
    QTest::newRow("the Finish row and its query")
            << QStringList{"SEQ:FIN 1,.1,2,2E-1;SEQ:FIN?"} << QStringList{}
            << QStringList{"1.00,0.100,2.00,0.200"};
    QTest::newRow("a repeat count")
            << QStringList{"SEQ:COUN 3;SEQ:COUN?"} << QStringList{} << QStringList{"3"};
    QTest::newRow("until Stop") << QStringList{"SEQ:COUN INF;SEQ:COUN?"} << QStringList{}
                                << QStringList{"9.9E+37"};
    QTest::newRow("INITiate starts a run")
            << QStringList{"SEQ:STEP 1,2,1,0,0,0;INIT;SEQ:STAT?"}
            << QStringList{"8D0064000000000000"} << QStringList{"RUN,1,3,3"};
    QTest::newRow("a run until Stop has no end")
            << QStringList{"SEQ:COUN INF;SEQ:STEP 1,2,1,0,0,0;SEQ:STAR;SEQ:STAT?"}
            << QStringList{"8D0064000000000000"} << QStringList{"RUN,1,3,9.9E+37"};
    QTest::newRow("ABORt stops it")
            << QStringList{"SEQ:STEP 1,2,1,0,0,0;INIT", "ABOR;SEQ:STAT?"}
            << QStringList{"8D0064000000000000", Idle} << QStringList{"IDLE"};
    QTest::newRow("SEQ:STOP stops it")
            << QStringList{"SEQ:STEP 1,2,1,0,0,0;INIT;SEQ:STOP;SEQ:STAT?"}
            << QStringList{"8D0064000000000000", Idle} << QStringList{"IDLE"};
    QTest::newRow("queries of one line share one reply")
            << QStringList{"*OPC?;SYST:VERS?;*WAI;SYST:ERR:NEXT?"} << QStringList{}
            << QStringList{"1;1999.0;0,\"No error\""};
    QTest::newRow("CR LF") << QStringList{"VOLT 5\r"} << QStringList{"8801F4"} << QStringList{};
}

void TestScpi::commands()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, frames);
    QFETCH(QStringList, replies);
    Bench bench;
    QCOMPARE(bench.send(lines), replies);
    QCOMPARE(toList(bench.link.sent), frames);
    QCOMPARE(bench.errors(), QStringList{});
}

void TestScpi::errors_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("frames"); // that the line sent
    QTest::addColumn<QStringList>("errors");

    const QStringList none;
    const auto row = [](const char *tag, const QStringList &before, const QString &line,
                        const QStringList &frames, const QStringList &errors) {
        QTest::newRow(tag) << before << line << frames << errors;
    };
    row("-100 no query form", none, "*RST?", none, {"-100,\"Command error;it has no query form\""});
    row("-100 a query only", none, "SYST:ERR", none, {"-100,\"Command error;it is a query only\""});
    row("-102 a string without its closing quote", none, "VOLT 'five", none,
        {"-102,\"Syntax error;a string has no closing quote\""});
    row("-102 nothing after a comma", none, "APPL CH1,5,", none,
        {"-102,\"Syntax error;a parameter is missing after ','\""});
    row("-102 a channel list of names", none, "VOLT 1,(@CH1)", none,
        {"-102,\"Syntax error;a channel list holds channel numbers only\""});
    row("-102 a character no parameter starts with", none, "VOLT $5", none,
        {"-102,\"Syntax error;no parameter starts with this character\""});
    row("-102 an empty keyword", none, "VOLT::LEV 5", none,
        {"-102,\"Syntax error;a header keyword is missing\""});
    row("-103 no comma between parameters", none, "VOLT 5 6", none,
        {"-103,\"Invalid separator;parameters are separated by ','\""});
    row("-104 a string (quotes doubled inside) for a voltage", none, "VOLT 'five''s'", none,
        {"-104,\"Data type error;expected a voltage, MIN, MAX or DEF\""});
    row("-103 no blank after the header", none, "VOLT,5", none,
        {"-103,\"Invalid separator;a blank must follow the header\""});
    row("-104 a non-decimal number", none, "*ESE #H20", none,
        {"-104,\"Data type error;no command takes non-decimal numbers or blocks\""});
    row("-104 a number for a channel name", none, "INST 1", none,
        {"-104,\"Data type error;expected CH1 or CH2\""});
    row("-104 a channel list in the place of a voltage", none, "VOLT (@1)", none,
        {"-104,\"Data type error;expected a voltage, MIN, MAX or DEF\""});
    row("-108 one parameter too many", none, "OUTP ON,OFF", none,
        {"-108,\"Parameter not allowed;at most 1 parameters\""});
    row("-109 no voltage", none, "VOLT", none,
        {"-109,\"Missing parameter;expected a voltage, MIN, MAX or DEF\""});
    row("-113 not a short or long form", none, "VOLTA 5", none,
        {"-113,\"Undefined header;VOLTA\""});
    row("-113 optional nodes without the node they belong to", none, "SOUR:LEV 5", none,
        {"-113,\"Undefined header;SOUR:LEV\""});
    row("-113 ends the line", none, "OUTP ON;VOLTA;OUTP OFF", {"8CF0F0"},
        {"-113,\"Undefined header;VOLTA\""});
    row("-120 two points", none, "VOLT 1.2.3", none,
        {R"(-120,"Numeric data error;the number ""1.2"" goes on with "".""")"});
    row("-131 volts for a current", none, "CURR 1V", none,
        {"-131,\"Invalid suffix;V: expected A or mA\""});
    row("-138 a unit for a switch", none, "OUTP 1V", none,
        {"-138,\"Suffix not allowed;V: expected ON, OFF, 1 or 0\""});
    row("-221 during a run", {"SEQ:STEP 1,5,1,0,0,0;INIT"}, "VOLT 1", none,
        {"-221,\"Settings conflict;A sequence is running: Stop it first.\""});
    row("-222 above the supply's range, and the line goes on", none, "VOLT 32.01;VOLT 5",
        {"8801F4"}, {"-222,\"Data out of range;CH1 voltage 32.01 V is outside 0 to 32.00 V\""});
    row("-222 a negative current", none, "CURR -0.001", none,
        {"-222,\"Data out of range;CH1 current -0.001 A is outside 0 to 3.000 A\""});
    row("-222 APPLy checks both values first", none, "APPL CH1,5,3.5", none,
        {"-222,\"Data out of range;CH1 current 3.5 A is outside 0 to 3.000 A\""});
    row("-222 step 10", none, "SEQ:STEP 10,1,0,0,0,0", none,
        {"-222,\"Data out of range;10 is outside 1 to 9\""});
    row("-222 a table value above 32 V", none, "SEQ:FIN 33,0,0,0", none,
        {"-222,\"Data out of range;Finish: CH1 voltage 33 is outside 0 to 32.00 V.\""});
    row("-222 a repeat count", none, "SEQ:COUN 10000", none,
        {"-222,\"Data out of range;10000 is outside 0 to 9999\""});
    row("-224 parallel", none, "INST:COUP:TRAC PAR", none,
        {"-224,\"Illegal parameter value;PAR: expected NONE or SER\""});
    row("-224 CH3", none, "INST CH3", none,
        {"-224,\"Illegal parameter value;CH3: expected CH1 or CH2\""});
    row("-224 channel 3", none, "VOLT 1,(@3)", none,
        {"-224,\"Illegal parameter value;(@3) is not (@1) or (@2)\""});
    row("-241 MEASure", none, "MEAS:VOLT? (@1)", none,
        {"-241,\"Hardware missing;the supply measures nothing\""});
    row("-241 FETCh", none, "FETC:CURR?", none,
        {"-241,\"Hardware missing;the supply measures nothing\""});
    row("-300 the line refused the frame", {"(refuse)"}, "OUTP ON", none,
        {"-300,\"Device-specific error;The frame 8CF0F0 could not be sent to the supply. the "
         "line is down\""});
    QStringList overflow;
    for (int i = 0; i < 15; ++i)
        overflow << "-222,\"Data out of range;CH1 voltage -1 V is outside 0 to 32.00 V\"";
    row("-350 the 17th error", none, QString("VOLT -1;").repeated(17), none,
        overflow << "-350,\"Queue overflow\"");
    row("-363 from the server", {"(overrun)"}, "", none,
        {"-363,\"Input buffer overrun;longer than 4096 bytes\""});
}

void TestScpi::errors()
{
    QFETCH(QStringList, before);
    QFETCH(QString, line);
    QFETCH(QStringList, frames);
    QFETCH(QStringList, errors);
    Bench bench;
    bench.send(before);
    const std::size_t sent = bench.link.sent.size();
    QCOMPARE(bench.send({line}), QStringList{});
    QCOMPARE(toList(bench.link.sent, sent), frames);
    QCOMPARE(bench.errors(), errors);
}

void TestScpi::numbers_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("limit"); // of both voltages, in 10 mV
    QTest::addColumn<QString>("frame");
    QTest::addColumn<int>("error");

    QTest::newRow("NR1") << "VOLT 5" << VoltageLimit << "8801F4" << 0;
    QTest::newRow("NR2") << "VOLT 5.00" << VoltageLimit << "8801F4" << 0;
    QTest::newRow("NR3") << "VOLT 5E0" << VoltageLimit << "8801F4" << 0;
    QTest::newRow("signed exponent") << "VOLT 500e-2" << VoltageLimit << "8801F4" << 0;
    QTest::newRow("no digit before the point") << "VOLT .5" << VoltageLimit << "880032" << 0;
    QTest::newRow("a plus sign") << "VOLT +5" << VoltageLimit << "8801F4" << 0;
    QTest::newRow("halves to even") << "VOLT 0.125" << VoltageLimit << "88000C" << 0;
    QTest::newRow("MV") << "VOLT 500MV" << VoltageLimit << "880032" << 0;
    QTest::newRow("mV after a blank") << "VOLT 500 mV" << VoltageLimit << "880032" << 0;
    QTest::newRow("V") << "VOLT 5v" << VoltageLimit << "8801F4" << 0;
    QTest::newRow("MA") << "CURR 250 MA" << VoltageLimit << "8700FA" << 0;
    QTest::newRow("A") << "CURR 1.5A" << VoltageLimit << "8705DC" << 0;
    QTest::newRow("the limit itself") << "VOLT 32" << VoltageLimit << "880C80" << 0;
    QTest::newRow("MAX is the lowered limit") << "VOLT MAX" << 500 << "8801F4" << 0;
    QTest::newRow("MAXimum") << "VOLT maximum" << 500 << "8801F4" << 0;
    QTest::newRow("MIN") << "VOLT MIN" << 500 << "880000" << 0;
    QTest::newRow("DEF") << "VOLT DEF" << 500 << "880000" << 0;
    QTest::newRow("above the lowered limit") << "VOLT 5.01" << 500 << "" << -222;
    QTest::newRow("beyond a double") << "VOLT 1E999" << VoltageLimit << "" << -222;
    QTest::newRow("an exponent without digits") << "VOLT 5E+" << VoltageLimit << "" << -120;
    QTest::newRow("a sign alone") << "VOLT -" << VoltageLimit << "" << -120;
    QTest::newRow("a prefix the supply has not") << "VOLT 5 KV" << VoltageLimit << "" << -131;
    QTest::newRow("an E that is no exponent") << "VOLT 5E" << VoltageLimit << "" << -131;
    QTest::newRow("another word") << "VOLT HIGH" << VoltageLimit << "" << -224;
}

void TestScpi::numbers()
{
    QFETCH(QString, line);
    QFETCH(int, limit);
    QFETCH(QString, frame);
    QFETCH(int, error);
    Bench bench;
    const auto volts = static_cast<std::int16_t>(limit);
    bench.panel.setLimits({volts, CurrentLimit, volts, CurrentLimit});
    bench.send({line});
    QCOMPARE(toList(bench.link.sent), frame.isEmpty() ? QStringList{} : QStringList{frame});
    QCOMPARE(bench.errors().value(0).section(',', 0, 0).toInt(), error);
}

void TestScpi::statusRegisters_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("replies"); // of the last line

    QTest::newRow("command error") << QStringList{"VOLTA", "*ESR?"} << "32";
    QTest::newRow("execution error") << QStringList{"VOLT 40", "*ESR?"} << "16";
    QTest::newRow("device error") << QStringList{"(overrun)", "*ESR?"} << "8";
    QTest::newRow("*OPC") << QStringList{"*OPC;*ESR?"} << "1";
    QTest::newRow("*ESR? clears it") << QStringList{"VOLTA", "*ESR?;*ESR?"} << "32;0";
    QTest::newRow("error queue bit") << QStringList{"VOLT 40", "*STB?"} << "4";
    QTest::newRow("event summary bit") << QStringList{"*ESE 16", "VOLT 40", "*STB?"} << "36";
    QTest::newRow("a masked event") << QStringList{"*ESE 32", "VOLT 40", "*STB?"} << "4";
    QTest::newRow("service request") << QStringList{"*ESE 16;*SRE 32", "VOLT 40", "*STB?"} << "100";
    QTest::newRow("*ESE? *SRE? without bit 6")
            << QStringList{"*ESE 20;*SRE 255;*ESE?;*SRE?"} << "20;191";
    QTest::newRow("*CLS") << QStringList{"VOLT 40", "*CLS;*STB?;*ESR?;SYST:ERR?"}
                          << "0;0;0,\"No error\"";
    QTest::newRow("*OPC? on a stalled line")
            << QStringList{"(stall)", "VOLT 5", "*OPC?;SYST:ERR?"}
            << "1;-300,\"Device-specific error;the line is stalled\"";
}

void TestScpi::statusRegisters()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, replies);
    Bench bench;
    QCOMPARE(bench.send(lines).value(0), replies);
}

void TestScpi::clientsKeepTheirOwnState()
{
    Bench bench;
    ScpiInterpreter other(bench.panel, {});
    bench.send({"INST CH2;VOLTA"});
    QCOMPARE(other.execute("INST?;SYST:ERR?"), std::optional<std::string>("CH1;0,\"No error\""));
    bench.send({"VOLT 5"});
    QCOMPARE(other.execute("VOLT? (@2)"), std::optional<std::string>("5.00"));
}

void TestScpi::outcomesNameEachCommand()
{
    Bench bench;
    QStringList outcomes;
    bench.scpi.setOutcomeObserver([&outcomes](const ScpiOutcome &outcome) {
        outcomes << QString::fromStdString(outcome.header) + ' ' + QString::number(outcome.error);
    });
    bench.send({"VOLT 5;volt 40;VOLT $;*IDN?"});
    QCOMPARE(outcomes, (QStringList{"VOLT 0", "volt -222", "VOLT $ -102"}));
}

QTEST_GUILESS_MAIN(TestScpi)
#include "tst_scpi.moc"

// The meter simulator's control language and command line: what tests and users type must
// do what it says, and anything else must be refused with a reason rather than half-done.
#include "tools/metersim/Command.h"
#include "tools/metersim/Options.h"

#include <QTest>

using metersim::Command;
using K = Command::Kind;

Q_DECLARE_METATYPE(Command::Kind)

class TestMeterSim : public QObject
{
    Q_OBJECT
private slots:
    void commandsParse_data();
    void commandsParse();
    void badCommandsAreRefused_data();
    void badCommandsAreRefused();
    void canonicalTextParsesBackToTheSameCommand();
    void optionsBecomeStartCommands();
    void badOptionsAreRefused_data();
    void badOptionsAreRefused();
};

void TestMeterSim::commandsParse_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<Command::Kind>("kind");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("second");
    QTest::addColumn<bool>("on");
    QTest::newRow("range") << "range 2" << K::Range << 2 << 0 << false;
    QTest::newRow("blanks around") << "   range   0  " << K::Range << 0 << 0 << false;
    QTest::newRow("volt40 on") << "volt40 on" << K::Volt40 << 0 << 0 << true;
    QTest::newRow("volt40 off") << "volt40 off" << K::Volt40 << 0 << 0 << false;
    QTest::newRow("set") << "set 2500 3700" << K::Set << 2500 << 3700 << false;
    QTest::newRow("set bounds") << "set 0 9999" << K::Set << 0 << 9999 << false;
    QTest::newRow("status hex") << "status 0x83" << K::Status << 0x83 << 0 << false;
    QTest::newRow("status no octal") << "status 010" << K::Status << 10 << 0 << false;
    QTest::newRow("status auto") << "status auto" << K::StatusAuto << 0 << 0 << false;
    QTest::newRow("period min") << "period 10" << K::Period << 10 << 0 << false;
    QTest::newRow("period max") << "period 60000" << K::Period << 60000 << 0 << false;
    QTest::newRow("vanish for good") << "vanish" << K::Vanish << 0 << 0 << false;
    QTest::newRow("garbage max") << "garbage 65536" << K::Garbage << 65536 << 0 << false;
    QTest::newRow("silent") << "silent" << K::Silent << 0 << 0 << false;
    QTest::newRow("memory-empty") << "memory-empty" << K::MemoryEmpty << 0 << 0 << false;
    QTest::newRow("memory default") << "memory default" << K::MemoryDefault << 0 << 0 << false;
    QTest::newRow("cell") << "cell 25.19 3.702" << K::Cell << 0 << 0 << false;
    QTest::newRow("lift") << "lift" << K::Lift << 0 << 0 << false;
    QTest::newRow("cells count") << "cells 50" << K::CellsCount << 50 << 0 << false;
    QTest::newRow("cells file") << "cells /tmp/my cells.txt" << K::CellsFile << 0 << 0 << false;
}

void TestMeterSim::commandsParse()
{
    QFETCH(QString, line);
    QFETCH(Command::Kind, kind);
    const auto parsed = metersim::parseCommand(line.toStdString());
    QVERIFY2(parsed.error.empty(), parsed.error.c_str());
    QVERIFY(parsed.command);
    QCOMPARE(parsed.command->kind, kind);
    QTEST(parsed.command->number, "number");
    QTEST(parsed.command->second, "second");
    if (kind == K::Volt40)
        QTEST(parsed.command->on, "on");
}

void TestMeterSim::badCommandsAreRefused_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("reason"); // a piece of the error
    QTest::newRow("range past 3") << "range 4"
                                  << "range needs a code 0..3";
    QTest::newRow("range word") << "range two"
                                << "range needs a code";
    QTest::newRow("on or off") << "volt40 yes"
                               << "needs on or off";
    QTest::newRow("set one count") << "set 2500"
                                   << "set needs two counts";
    QTest::newRow("set past display") << "set 10000 1"
                                      << "set needs two counts";
    QTest::newRow("period too fast") << "period 9"
                                     << "period needs milliseconds 10..60000";
    QTest::newRow("status past a byte") << "status 256"
                                        << "status needs a byte";
    QTest::newRow("bare with argument") << "silent 3"
                                        << "silent takes no argument";
    QTest::newRow("trailing junk") << "range 2 x"
                                   << "range needs a code";
    QTest::newRow("negative count") << "garbage -1"
                                    << "garbage needs a count";
    QTest::newRow("unknown") << "explode"
                             << "unknown command \"explode\"";
    QTest::newRow("memory nothing") << "memory"
                                    << "memory needs default or a FILE";
    QTest::newRow("cell one value") << "cell 25"
                                    << "cell needs MOHM";
    QTest::newRow("cell zero ohm") << "cell 0 3.7"
                                   << "cell needs MOHM";
    QTest::newRow("cell past 40 Ohm") << "cell 100000 3.7"
                                      << "cell needs MOHM";
    QTest::newRow("cell volts word") << "cell 25 high"
                                     << "cell needs MOHM";
    QTest::newRow("cell past 40 V") << "cell 25 100"
                                    << "cell needs MOHM";
    QTest::newRow("cells nothing") << "cells"
                                   << "cells needs a count";
    QTest::newRow("cells zero") << "cells 0"
                                << "cells needs a count 1..100000";
    QTest::newRow("lift with argument") << "lift 2"
                                        << "lift takes no argument";
}

void TestMeterSim::badCommandsAreRefused()
{
    QFETCH(QString, line);
    QFETCH(QString, reason);
    const auto parsed = metersim::parseCommand(line.toStdString());
    QVERIFY(!parsed.command);
    QVERIFY2(QString::fromStdString(parsed.error).contains(reason), parsed.error.c_str());

    // Blank lines and comments are no command and no error.
    QVERIFY(!metersim::parseCommand("").command);
    QVERIFY(metersim::parseCommand("   ").error.empty());
    QVERIFY(!metersim::parseCommand("# range 2").command);
    QVERIFY(metersim::parseCommand("# range 2").error.empty());
}

void TestMeterSim::canonicalTextParsesBackToTheSameCommand()
{
    // The acknowledgement names the command as done; typed back, it does the same again.
    for (const char *line : {"range 1",
                             "volt40 on",
                             "ohm-ol off",
                             "negative on",
                             "noreading on",
                             "set 12 9999",
                             "drift",
                             "status 255",
                             "status auto",
                             "silent",
                             "resume",
                             "corrupt 3",
                             "double 2",
                             "garbage 7",
                             "vanish",
                             "vanish 5",
                             "return",
                             "period 250",
                             "memory-empty",
                             "memory default",
                             "memory /tmp/some file.bin",
                             "cell 1500 4.2",
                             "cell 0.5 -1.25",
                             "lift",
                             "cells 800",
                             "cells /tmp/batch.txt",
                             "quit"}) {
        const auto first = metersim::parseCommand(line);
        QVERIFY2(first.command, line);
        const std::string text = metersim::commandText(*first.command);
        const auto again = metersim::parseCommand(text);
        QVERIFY2(again.command, text.c_str());
        QCOMPARE(again.command->kind, first.command->kind);
        QCOMPARE(again.command->number, first.command->number);
        QCOMPARE(again.command->second, first.command->second);
        QCOMPARE(again.command->on, first.command->on);
        QCOMPARE(again.command->text, first.command->text);
        QCOMPARE(again.command->milliOhm, first.command->milliOhm);
        QCOMPARE(again.command->volts, first.command->volts);
    }
}

void TestMeterSim::optionsBecomeStartCommands()
{
    metersim::Options options;
    std::string error;
    QVERIFY2(metersim::parseOptions({"--range", "2", "--volt40", "--period=50", "--cmd", "negative on", "--seed", "42",
                                     "--link", "/tmp/meter", "--fast-dump"},
                                    options, error),
             error.c_str());
    // In the order given, so a later one wins as it would typed on standard input.
    QCOMPARE(options.startCommands, (std::vector<std::string>{"range 2", "volt40 on", "period 50", "negative on"}));
    QCOMPARE(options.seed, uint64_t(42));
    QCOMPARE(options.linkPath, std::string("/tmp/meter"));
    QVERIFY(options.fastDump);
    QVERIFY(!options.help);

    metersim::Options asked;
    QVERIFY(metersim::parseOptions({"--help"}, asked, error));
    QVERIFY(asked.help);
    QVERIFY(metersim::parseOptions({"--version"}, asked, error));
    QVERIFY(asked.version);
    QVERIFY(metersim::usageText().find("--version") != std::string::npos);
}

void TestMeterSim::badOptionsAreRefused_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("reason");
    QTest::newRow("unknown") << QStringList{"--bogus"} << "unknown option --bogus";
    QTest::newRow("missing value") << QStringList{"--link"} << "--link needs a value";
    QTest::newRow("empty path") << QStringList{"--link="} << "--link needs a path";
    QTest::newRow("bad range") << QStringList{"--range", "7"} << "--range: range needs a code";
    QTest::newRow("bad period") << QStringList{"--period", "5"} << "--period: period needs milliseconds";
    QTest::newRow("bad command") << QStringList{"--cmd", "fly"} << "--cmd: unknown command";
    QTest::newRow("empty command") << QStringList{"--cmd", ""} << "--cmd: empty command";
    QTest::newRow("seed sign") << QStringList{"--seed", "-1"} << "--seed needs a non-negative integer";
    QTest::newRow("seed junk") << QStringList{"--seed", "12x"} << "--seed needs a non-negative integer";
    QTest::newRow("flag with value") << QStringList{"--volt40=1"} << "--volt40 takes no value";
    QTest::newRow("two memories") << QStringList{"--memory", "m.bin", "--memory-empty"}
                                  << "--memory and --memory-empty exclude each other";
}

void TestMeterSim::badOptionsAreRefused()
{
    QFETCH(QStringList, args);
    QFETCH(QString, reason);
    std::vector<std::string> argv;
    for (const QString &a : args)
        argv.push_back(a.toStdString());
    metersim::Options options;
    std::string error;
    QVERIFY(!metersim::parseOptions(argv, options, error));
    QVERIFY2(QString::fromStdString(error).contains(reason), error.c_str());
}

QTEST_APPLESS_MAIN(TestMeterSim)
#include "tst_metersim.moc"

// Grades and profiles, the session file written, appended, rewritten and read back (also
// damaged), and the statistics.
#include "sorting/Profile.h"
#include "sorting/Session.h"
#include "sorting/Statistics.h"

#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

using namespace sorting;
Q_DECLARE_METATYPE(sorting::Profile)

namespace {

Profile liIon()
{
    return builtinProfiles().at(0);
}

Cell cell(const QString &id, double mOhm, double volts, const QString &grade, bool manual = false)
{
    Cell c;
    c.id = id;
    c.when = QDateTime(QDate(2024, 3, 5), QTime(14, 7, 11));
    c.milliOhm = mOhm;
    c.ohmText = QString::number(mOhm, 'f', 2);
    c.ohmRange = QStringLiteral("40mOhm");
    c.volts = volts;
    c.voltText = QString::number(volts, 'f', 3);
    c.grade = grade;
    c.manual = manual;
    return c;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestSortingSession : public QObject
{
    Q_OBJECT
private slots:
    void builtins();
    void grades_data();
    void grades();
    void profileProblems_data();
    void profileProblems();
    void profileFileRoundTrip();
    void profileFileRefused();
    void sessionLayout();
    void appendRewriteAndReadBack();
    void notASession_data();
    void notASession();
    void damagedLinesSkipped();
    void numbering();
    void statistics();
    void histogram();
};

void TestSortingSession::builtins()
{
    const QList<Profile> all = builtinProfiles();
    QCOMPARE(all.size(), 3);
    QCOMPARE(all[0].name, QStringLiteral("Li-ion 18650 (used)"));
    QCOMPARE(all[1].name, QStringLiteral("LiFePO4 32650"));
    QCOMPARE(all[2].name, QStringLiteral("NiMH AA"));
    QCOMPARE(all[1].grades.last().limitMilliOhm, 20.0);
    QCOMPARE(all[1].maxVolts, 3.65);
    QCOMPARE(all[2].minVolts, 1.00);
    for (const Profile &p : all)
        QVERIFY2(profileProblem(p).isEmpty(), qPrintable(p.name));
}

void TestSortingSession::grades_data()
{
    QTest::addColumn<double>("mOhm");
    QTest::addColumn<double>("volts");
    QTest::addColumn<QString>("grade");
    QTest::newRow("best") << 12.0 << 3.7 << "A";
    QTest::newRow("on the A limit") << 50.0 << 3.7 << "A";
    QTest::newRow("just above A") << 50.01 << 3.7 << "B";
    QTest::newRow("on the C limit") << 150.0 << 3.7 << "C";
    QTest::newRow("above the last limit") << 150.01 << 3.7 << "Reject R";
    QTest::newRow("on the voltage minimum") << 20.0 << 2.50 << "A";
    QTest::newRow("on the voltage maximum") << 20.0 << 4.25 << "A";
    QTest::newRow("under the window") << 20.0 << 2.499 << "Reject V";
    QTest::newRow("over the window") << 20.0 << 4.251 << "Reject V";
    QTest::newRow("voltage beats resistance") << 400.0 << 1.2 << "Reject V";
}

void TestSortingSession::grades()
{
    QFETCH(double, mOhm);
    QFETCH(double, volts);
    QFETCH(QString, grade);
    QCOMPARE(gradeOf(liIon(), mOhm, volts), grade);
    QCOMPARE(isReject(grade), grade.startsWith(QLatin1String("Reject")));
}

void TestSortingSession::profileProblems_data()
{
    QTest::addColumn<Profile>("profile");
    QTest::addColumn<bool>("good");
    Profile p = liIon();
    QTest::newRow("built-in") << p << true;
    Profile noName = p;
    noName.name = QStringLiteral("  ");
    QTest::newRow("no name") << noName << false;
    Profile five = p;
    five.grades << Grade{QStringLiteral("D"), 200} << Grade{QStringLiteral("E"), 300};
    QTest::newRow("five grades") << five << false;
    Profile none = p;
    none.grades.clear();
    QTest::newRow("no grade") << none << false;
    Profile falling = p;
    falling.grades[1].limitMilliOhm = 40;
    QTest::newRow("falling limits") << falling << false;
    Profile equal = p;
    equal.grades[1].limitMilliOhm = 50;
    QTest::newRow("equal limits") << equal << false;
    Profile twice = p;
    twice.grades[1].name = QStringLiteral("A");
    QTest::newRow("a name twice") << twice << false;
    Profile reject = p;
    reject.grades[0].name = QStringLiteral("Reject R");
    QTest::newRow("a reject's name") << reject << false;
    Profile volts = p;
    volts.minVolts = 4.25;
    QTest::newRow("empty voltage window") << volts << false;
}

void TestSortingSession::profileProblems()
{
    QFETCH(Profile, profile);
    QFETCH(bool, good);
    QCOMPARE(profileProblem(profile).isEmpty(), good);
}

void TestSortingSession::profileFileRoundTrip()
{
    Profile p = liIon();
    p.name = QStringLiteral("Zellen für Räder");
    p.grades[0].limitMilliOhm = 42.5;
    const QByteArray text = profileFileText(p);
    QCOMPARE(text.left(text.indexOf('\n') + 1), QByteArray("Dorvel sorting profile\r\n"));
    QVERIFY(text.contains("Grade\tA\t42.5\r\n"));
    QVERIFY(text.contains("Voltage\t2.5\t4.25\r\n"));
    QString error;
    const auto back = readProfileFile(text, &error);
    QVERIFY2(back, qPrintable(error));
    QCOMPARE(*back, p);
}

void TestSortingSession::profileFileRefused()
{
    QString error;
    QVERIFY(!readProfileFile("No.s\tDate\tTime\r\n", &error));
    QVERIFY(error.contains(QStringLiteral("not a Dorvel sorting profile")));
    QVERIFY(!readProfileFile("Dorvel sorting profile\r\nName\tX\r\nGrade\tA\tfifty\r\nVoltage\t1\t2\r\n", &error));
    QVERIFY(error.contains(QStringLiteral("fifty")));
    QVERIFY(!readProfileFile("Dorvel sorting profile\r\nName\tX\r\nGrade\tA\t50\r\n", &error));
    QVERIFY(error.contains(QStringLiteral("Voltage")));
}

void TestSortingSession::sessionLayout()
{
    Cell c = cell(QStringLiteral("C0001"), 25.19, 3.702, QStringLiteral("A"));
    Cell m = cell(QStringLiteral("bar code 7"), 1500, 3.9, QStringLiteral("Reject R"), true);
    m.ohmText = QStringLiteral("1.500");
    m.ohmRange = QStringLiteral("4Ohm");
    QCOMPARE(sessionText(liIon(), {c, m}),
             QByteArray("Dorvel cell sorting session\t1\r\n"
                        "Name\tLi-ion 18650 (used)\r\n"
                        "Grade\tA\t50\r\nGrade\tB\t100\r\nGrade\tC\t150\r\n"
                        "Voltage\t2.5\t4.25\r\n"
                        "Cell\tDate\tTime\tmOhm\tVoltage\tGrade\tCapture\tDisplay\tRange\r\n"
                        "C0001\t2024/03/05\t14:07:11\t25.19\t3.702\tA\tauto\t25.19\t40mOhm\r\n"
                        "bar code 7\t2024/03/05\t14:07:11\t1500\t3.900\tReject R\tmanual\t1.500\t4Ohm\r\n"));
}

void TestSortingSession::appendRewriteAndReadBack()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Dorvel sessions/s.tsv"));
    SessionFile file;
    QString error;
    QVERIFY2(file.rewrite(path, liIon(), {}, &error), qPrintable(error));
    QList<Cell> cells;
    for (int i = 1; i <= 3; ++i) {
        cells << cell(QStringLiteral("C%1").arg(i, 4, 10, QLatin1Char('0')), 20.0 * i, 3.7, QStringLiteral("A"));
        QVERIFY(file.append(cells.last(), &error));
        // On the disk as soon as append returns, read through another handle.
        const auto now = readSession(fileBytes(path), &error);
        QVERIFY(now);
        QCOMPARE(now->cells.size(), i);
    }
    cells.removeLast(); // undo
    QVERIFY(file.rewrite(path, liIon(), cells, &error));
    QVERIFY(file.append(cell(QStringLiteral("C0004"), 33, 3.6, QStringLiteral("A")), &error));
    const auto back = readSessionFile(path, &error);
    QVERIFY2(back, qPrintable(error));
    QCOMPARE(back->profile, liIon());
    QCOMPARE(back->damagedLines, 0);
    QCOMPARE(back->cells.size(), 3);
    QCOMPARE(back->cells[0], cells[0]);
    QCOMPARE(back->cells[1], cells[1]);
    QCOMPARE(back->cells[2].id, QStringLiteral("C0004"));
    QVERIFY(!dir.isValid() || QDir(dir.filePath(QStringLiteral("Dorvel sessions"))).entryList(QDir::Files).size() == 1);
}

void TestSortingSession::notASession_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("why");
    QTest::newRow("empty") << QByteArray() << "not a cell sorting session";
    QTest::newRow("measurement file") << QByteArray(
        "No.s\tDate\tTime\t40mOhm\t4Voltage\r\n1\t2024/03/05\t14:07:11\t25.00\t3.700\r\n")
                                      << "not a cell sorting session";
    QTest::newRow("binary") << QByteArray("\x00\xff\xfe\x02\x03", 5) << "not a cell sorting session";
    QTest::newRow("no columns") << QByteArray("Dorvel cell sorting session\t1\r\nName\tX\r\n") << "column line";
    QTest::newRow("bad profile") << QByteArray(
        "Dorvel cell sorting session\t1\r\nName\tX\r\nGrade\tA\t-3\r\nVoltage\t1\t2\r\n"
        "Cell\tDate\tTime\tmOhm\tVoltage\tGrade\tCapture\tDisplay\tRange\r\n")
                                 << "profile";
}

void TestSortingSession::notASession()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, why);
    QString error;
    QVERIFY(!readSession(bytes, &error));
    QVERIFY2(error.contains(why), qPrintable(error));
}

void TestSortingSession::damagedLinesSkipped()
{
    QByteArray bytes = sessionText(liIon(), {cell(QStringLiteral("C0001"), 25, 3.7, QStringLiteral("A"))});
    bytes += "C0002\t2024/03/05\t14:08:00\tabc\t3.7\tA\tauto\t25\t40mOhm\r\n"; // resistance not a number
    bytes += "C0003\t2024/13/05\t14:08:00\t25\t3.7\tA\tauto\t25\t40mOhm\r\n";  // month 13
    bytes += "C0004\t2024/03/05\t14:08:00\t25\t3.7\r\n";                       // cut short
    bytes += QByteArray("\x01\x02\xff garbage\r\n");
    bytes += cellLine(cell(QStringLiteral("C0005"), 30, 3.7, QStringLiteral("A")));
    bytes += "C0006\t2024/03/05\t14:0"; // the write a pulled plug interrupted
    QString error;
    const auto s = readSession(bytes, &error);
    QVERIFY(s);
    QCOMPARE(s->cells.size(), 2);
    QCOMPARE(s->cells[1].id, QStringLiteral("C0005"));
    QCOMPARE(s->damagedLines, 5);
}

void TestSortingSession::numbering()
{
    QCOMPARE(nextAutomaticId({}, QStringLiteral("C")), QStringLiteral("C0001"));
    const QList<Cell> cells = {cell(QStringLiteral("C0007"), 1, 3, QStringLiteral("A")),
                               cell(QStringLiteral("scanned 99"), 1, 3, QStringLiteral("A")),
                               cell(QStringLiteral("C0003"), 1, 3, QStringLiteral("A")),
                               cell(QStringLiteral("X9999"), 1, 3, QStringLiteral("A"))};
    QCOMPARE(nextAutomaticId(cells, QStringLiteral("C")), QStringLiteral("C0008"));
    QCOMPARE(nextAutomaticId(cells, QStringLiteral("X")), QStringLiteral("X10000"));
    QCOMPARE(defaultSessionPath(QStringLiteral("/home/u/Documents"), QDateTime(QDate(2024, 3, 5), QTime(14, 7, 11))),
             QStringLiteral("/home/u/Documents/Dorvel sessions/2024-03-05 14-07-11.tsv"));
}

void TestSortingSession::statistics()
{
    const QList<Cell> cells = {cell(QStringLiteral("1"), 20, 3.6, QStringLiteral("A")),
                               cell(QStringLiteral("2"), 40, 3.8, QStringLiteral("A")),
                               cell(QStringLiteral("3"), 90, 3.7, QStringLiteral("B")),
                               cell(QStringLiteral("4"), 500, 3.7, QStringLiteral("Reject R")),
                               cell(QStringLiteral("5"), 30, 1.0, QStringLiteral("Reject V"))};
    SessionStats s;
    for (const Cell &c : cells)
        s.add(c);
    QCOMPARE(s.total(), 5);
    QCOMPARE(s.count(QStringLiteral("A")), 2);
    QCOMPARE(s.percent(QStringLiteral("A")), 40.0);
    QCOMPARE(s.count(QStringLiteral("Reject V")), 1);
    QCOMPARE(s.milliOhm().count(), 3);
    QCOMPARE(s.milliOhm().min(), 20.0);
    QCOMPARE(s.milliOhm().max(), 90.0);
    QCOMPARE(s.milliOhm().mean(), 50.0);
    // Sample deviation of 20, 40, 90: sqrt(((-30)^2 + (-10)^2 + 40^2) / 2) = sqrt(1300).
    QVERIFY(std::abs(s.milliOhm().deviation() - std::sqrt(1300.0)) < 1e-9);
    QVERIFY(std::abs(s.volts().mean() - 3.7) < 1e-12);
    SessionStats again;
    again.recompute(cells.mid(0, 2));
    QCOMPARE(again.total(), 2);
    QCOMPARE(again.milliOhm().max(), 40.0);
}

void TestSortingSession::histogram()
{
    const QList<Cell> cells = {cell(QStringLiteral("1"), 0, 3.7, QStringLiteral("A")),
                               cell(QStringLiteral("2"), 49, 3.7, QStringLiteral("A")),
                               cell(QStringLiteral("3"), 149, 3.7, QStringLiteral("C")),
                               cell(QStringLiteral("4"), 900, 3.7, QStringLiteral("Reject R"))};
    const Histogram h = histogramOf(cells, liIon(), 20);
    QCOMPARE(h.top, 200.0); // the last limit 150 with room, rounded
    QCOMPARE(h.bins.size(), 20);
    QCOMPARE(h.bins[0], 1);
    QCOMPARE(h.bins[4], 1);
    QCOMPARE(h.bins[14], 1);
    QCOMPARE(h.highest(), 1);
    QCOMPARE(roundTop(21), 25.0);
    QCOMPARE(roundTop(0.7), 0.8);
}

QTEST_GUILESS_MAIN(TestSortingSession)
#include "tst_sortingsession.moc"

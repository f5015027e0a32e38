// Ports the panel cannot have at start-up: one held by another program, and one the user may
// not open. Neither gives a question; the walk goes on to the next port, which is then used.

#include "support/openwatch.h"
#include "support/realpanel.h"
#include "support/simprocess.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace mq7410;
using namespace mq7410::test;

namespace {

constexpr int WaitMs = SimProcess::WaitMs;
const QString Question2 = QStringLiteral("Power Supply|Find Com 2, Using it?|36");
const QString Using2 = QStringLiteral("Power Supply|Using COM2:|64");
const QString NoPort = QStringLiteral("Power Supply|No communication port can use!|16");

QString childProgram()
{
    const QString fromBuild = qEnvironmentVariable("MQ7410_PANEL_CHILD");
    return fromBuild.isEmpty() ? QCoreApplication::applicationDirPath() + "/e2e-panelchild"
                               : fromBuild;
}

// The panel as a program of its own (see support/panelchild.cpp), on the given ports.
class PanelChild
{
public:
    explicit PanelChild(const QByteArray &ports)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("MQ7410_PORTS"), QString::fromLocal8Bit(ports));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_process.setProcessEnvironment(environment);
    }
    ~PanelChild()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(WaitMs))
            m_process.kill();
    }

    void start(const QStringList &command) { m_process.start(command[0], command.mid(1)); }
    // Reads lines until one starts with `prefix` or the program ends; its rest, or null.
    QString waitFor(const QString &prefix)
    {
        for (QElapsedTimer waited; waited.elapsed() < WaitMs;) {
            while (m_process.canReadLine()) {
                const QString line = QString::fromUtf8(m_process.readLine()).chopped(1);
                m_lines << line;
                if (line.startsWith(prefix))
                    return line.mid(prefix.size());
            }
            if (m_process.state() == QProcess::NotRunning)
                break;
            m_process.waitForReadyRead(100);
        }
        return {};
    }
    // Every "box" line, as "title|prompt|kind" like RealPanel::boxTexts().
    QStringList boxes() const
    {
        QStringList boxes;
        for (const QString &line : m_lines) {
            if (line.startsWith(QLatin1String("box "))) {
                const QStringList parts = line.mid(4).split('|');
                boxes << parts[1] + '|' + parts.mid(2).join('|') + '|' + parts[0];
            }
        }
        return boxes;
    }
    QProcess &process() { return m_process; }

private:
    QProcess m_process;
    QStringList m_lines;
};

} // namespace

class TestE2eBusyPort : public QObject
{
    Q_OBJECT
private slots:
    void heldByAnotherProgram_data();
    void heldByAnotherProgram();
    void notAllowed_data();
    void notAllowed();
};

void TestE2eBusyPort::heldByAnotherProgram_data()
{
    QTest::addColumn<bool>("secondCopy"); // else another port object in this program

    QTest::newRow("another port object of this program") << false;
    QTest::newRow("a second copy of the panel") << true;
}

void TestE2eBusyPort::heldByAnotherProgram()
{
    QFETCH(bool, secondCopy);

    SimProcess sim1;
    SimProcess sim2;
    QVERIFY(sim1.start());
    QVERIFY(sim2.start());
    const ScopedPorts ports(sim1.device().toLocal8Bit() + ':' + sim2.device().toLocal8Bit());

    QtSerialPort holder;
    PanelChild child(sim1.device().toLocal8Bit());
    if (secondCopy) {
        child.start({childProgram(), "--answers", "yes", "--hold"});
        QCOMPARE(child.waitFor("ready"), QString(""));
        QCOMPARE(child.boxes(), (QStringList{"Power Supply|Find Com 1, Using it?|36",
                                             "Power Supply|Using COM1:|64"}));
    } else {
        QVERIFY(holder.selectPort(1) && holder.setSettings("115200 N 8 1"));
        QVERIFY2(holder.open(), holder.errorString().c_str());
    }

    RealPanel panel;
    QVERIFY(panel.load({BoxAnswer::Yes}));
    QCOMPARE(panel.boxTexts(), (QStringList{Question2, Using2}));
    panel.form->show();
    panel.click("EnterCommand");
    QTRY_COMPARE_WITH_TIMEOUT(sim2.frames(), QStringList{"880000"}, WaitMs);
    QVERIFY(sim1.frames().isEmpty());

    // The holder was not disturbed: its frames still reach its supply.
    if (secondCopy) {
        child.process().closeWriteChannel(); // it ends through Exit
        QVERIFY(child.process().waitForFinished(WaitMs));
        QCOMPARE(child.process().exitCode(), 0);
    } else {
        QVERIFY2(holder.write("8CF0F0"), holder.errorString().c_str());
        QTRY_COMPARE_WITH_TIMEOUT(sim1.frames(), QStringList{"8CF0F0"}, WaitMs);
    }
}

void TestE2eBusyPort::notAllowed_data()
{
    QTest::addColumn<bool>("secondPort"); // a port the user may open, after the forbidden one
    QTest::addColumn<QStringList>("boxes");

    QTest::newRow("then an allowed port") << true << QStringList{Question2, Using2};
    QTest::newRow("no other port") << false << QStringList{NoPort};
}

// As root every file may be opened, so the panel runs as another user, in a process of its
// own: as "nobody" (setpriv, util-linux) when the tests run as root.
void TestE2eBusyPort::notAllowed()
{
    QFETCH(bool, secondPort);
    QFETCH(QStringList, boxes);

    QStringList command{childProgram(), "--answers", "yes", "--click", "EnterCommand"};
    const passwd *nobody = ::getpwnam("nobody");
    if (::geteuid() == 0) {
        const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        if (setpriv.isEmpty() || !nobody)
            QSKIP("running as root without setpriv or a user nobody: no user to be refused");
        command = QStringList{setpriv, "--reuid=nobody", "--regid=nogroup", "--clear-groups", "--"}
                  + command;
    }

    SimProcess forbidden;
    SimProcess allowed;
    QVERIFY(forbidden.start());
    QVERIFY(allowed.start());
    const QByteArray forbiddenPath = QFile::encodeName(forbidden.device());
    const QByteArray allowedPath = QFile::encodeName(allowed.device());
    QCOMPARE(::chmod(forbiddenPath.constData(), 0), 0); // nobody but root may open it
    if (::geteuid() == 0)
        QCOMPARE(::chown(allowedPath.constData(), nobody->pw_uid, nobody->pw_gid), 0);
    OpenWatch forbiddenOpens(forbidden.device());

    PanelChild child(secondPort ? forbiddenPath + ':' + allowedPath : forbiddenPath);
    child.start(command);
    const QString uid = child.waitFor("uid ");
    if (uid.isNull()) {
        const QString why = QString::fromLocal8Bit(child.process().readAllStandardError());
        if (::geteuid() == 0 && why.contains(QLatin1String("setpriv")))
            QSKIP(qPrintable("cannot run the panel as another user here: " + why));
        QFAIL(qPrintable("the panel did not start: " + why));
    }
    QVERIFY2(uid.toUInt() != 0, "the panel must not run as root here");

    QCOMPARE(child.waitFor("loaded "), secondPort ? QString("true") : QString("false"));
    QVERIFY(child.process().waitForFinished(WaitMs));
    QCOMPARE(child.process().exitCode(), secondPort ? 0 : 1);
    QCOMPARE(child.boxes(), boxes);
    if (secondPort)
        QTRY_COMPARE_WITH_TIMEOUT(allowed.frames(), QStringList{"880000"}, WaitMs);
    QVERIFY(forbidden.frames().isEmpty());
    QCOMPARE(forbiddenOpens.opens(), 0); // refused before it was ever opened
}

QTEST_MAIN(TestE2eBusyPort)
#include "tst_e2e_busyport.moc"

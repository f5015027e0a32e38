// Random use of the whole window against the reference model: clicks, menu commands, keys,
// typed and pasted texts, ticks and failing writes, compared after every event.
//
// Reproducible by seed. Environment (all optional):
//   MQ7410_RANDOM_SEED            first seed (1)
//   MQ7410_RANDOM_SEEDS           how many seeds, each on a fresh window (40)
//   MQ7410_RANDOM_EVENTS          events per seed (5000)
//   MQ7410_RANDOM_SHRINK_SECONDS  time to shrink a failing list (120)

#include "model/panelmodel.h"
#include "random/formdriver.h"
#include "random/generator.h"
#include "random/trial.h"

#include <QTest>

#include <cstdlib>
#include <map>

using namespace mq7410;
using namespace mq7410::randomtest;

namespace {

long long setting(const char *name, long long fallback)
{
    const char *value = std::getenv(name);
    return value && *value ? std::atoll(value) : fallback;
}

QString report(quint64 seed, const Failure &failure, const std::vector<Event> &shortest)
{
    const std::optional<Failure> again = play(shortest);
    QString text = QStringLiteral("seed %1, event %2: %3\nShortest list that still fails "
                                  "(%4 events), with: %5\n")
                           .arg(seed)
                           .arg(failure.event + 1)
                           .arg(QString::fromStdString(failure.difference))
                           .arg(shortest.size())
                           .arg(QString::fromStdString(again ? again->difference : "?"));
    for (std::size_t i = 0; i < shortest.size(); ++i)
        text += QStringLiteral("  %1. %2\n")
                        .arg(i + 1)
                        .arg(QString::fromStdString(describe(shortest[i])));
    text += QStringLiteral("Replay: MQ7410_RANDOM_SEED=%1 MQ7410_RANDOM_SEEDS=1 "
                           "MQ7410_RANDOM_EVENTS=%2 tst_randompanel")
                    .arg(seed)
                    .arg(failure.event + 1);
    return text;
}

// Every fresh window makes the headless platform say that it cannot size a window to its
// hints; hundreds of windows would bury a real failure under that line.
QtMessageHandler previousHandler = nullptr;

void dropSizeHintNotes(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!message.contains(QLatin1String("propagateSizeHints")))
        previousHandler(type, context, message);
}

} // namespace

class TestRandomPanel : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { previousHandler = qInstallMessageHandler(dropSizeHintNotes); }
    void windowMatchesModel();
};

void TestRandomPanel::windowMatchesModel()
{
    const auto firstSeed = static_cast<quint64>(setting("MQ7410_RANDOM_SEED", 1));
    const long long seeds = setting("MQ7410_RANDOM_SEEDS", 40);
    const long long perSeed = setting("MQ7410_RANDOM_EVENTS", 5000);
    const std::chrono::seconds shrinkBudget(setting("MQ7410_RANDOM_SHRINK_SECONDS", 120));

    long long events = 0;
    long long frames = 0;
    long long failedWrites = 0;
    long long boxes = 0;
    std::map<std::string, long long> byCode;
    for (quint64 seed = firstSeed; seed < firstSeed + quint64(seeds); ++seed) {
        Rng rng(seed);
        FormDriver driver;
        QVERIFY(driver.ready());
        model::PanelModel panel;
        std::vector<Event> played;
        for (long long i = 0; i < perSeed; ++i) {
            played.push_back(nextEvent(rng, panel, i == perSeed - 1));
            driver.apply(played.back(), panel);
            ++events;
            if (const std::string difference = driver.difference(panel); !difference.empty()) {
                const Failure failure{played.size() - 1, difference};
                const std::vector<Event> shortest = shrink(played, failure, shrinkBudget);
                QFAIL(qPrintable(report(seed, failure, shortest)));
            }
            if (played.back().endsProgram())
                break;
        }
        for (const std::string &frame : panel.framesSent())
            ++byCode[frame.substr(0, 2)];
        frames += static_cast<long long>(panel.framesSent().size());
        failedWrites += static_cast<long long>(panel.framesFailed().size());
        boxes += static_cast<long long>(panel.boxesShown().size());
    }
    qInfo("RANDOM PANEL: %lld events over %lld seeds from seed %llu; %lld frames written, "
          "%lld writes failed on purpose, %lld message boxes; no difference from the model",
          events, seeds, static_cast<unsigned long long>(firstSeed), frames, failedWrites, boxes);
    std::string codes;
    for (const auto &[code, count] : byCode)
        codes += " " + code + ":" + std::to_string(count);
    qInfo("RANDOM PANEL: frames by code%s", codes.c_str());
}

QTEST_MAIN(TestRandomPanel)
#include "tst_randompanel.moc"

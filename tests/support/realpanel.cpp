#include "realpanel.h"

#include <QAbstractButton>
#include <QTest>

namespace mq7410::test {

namespace {

const char *const DigitButtons[]
        = {"ZeroCommand", "OneCommand", "TwoCommand",   "ThreeCommand", "FourCommand",
           "FiveCommand", "SixCommand", "SevenCommand", "EightCommand", "NineCommand"};

} // namespace

RealPanel::RealPanel()
    : form(std::make_unique<UIForm>(port, boxes))
{}

RealPanel::~RealPanel() = default;

bool RealPanel::load(std::deque<BoxAnswer> answers)
{
    boxes.questionAnswers = std::move(answers);
    return form->Form_Load();
}

void RealPanel::click(const QString &name) const
{
    auto *button = find<QAbstractButton>(name);
    if (!button)
        qFatal("no button named %s", qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton);
}

void RealPanel::type(const QString &digits) const
{
    for (QChar digit : digits)
        click(QLatin1String(DigitButtons[digit.digitValue()]));
}

QStringList RealPanel::boxTexts() const
{
    QStringList texts;
    for (const BoxRequest &box : boxes.shown)
        texts << boxText(box);
    return texts;
}

QString boxText(const BoxRequest &box)
{
    return box.title + '|' + box.prompt + '|' + QString::number(int(box.kind));
}

} // namespace mq7410::test

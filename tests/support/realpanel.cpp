#include "realpanel.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

namespace mq7410::test {

RealPanel::RealPanel() = default;

RealPanel::~RealPanel() = default;

bool RealPanel::load(std::deque<Answer> answers)
{
    boxes.answers = std::move(answers);
    walk = walkPorts(line, boxes);
    if (walk.port == 0)
        return false;
    form = std::make_unique<UIForm>(panel, line, boxes);
    form->show();
    return QTest::qWaitForWindowExposed(form.get());
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
    static const char *const Buttons[]
            = {"ZeroCommand", "OneCommand", "TwoCommand",   "ThreeCommand", "FourCommand",
               "FiveCommand", "SixCommand", "SevenCommand", "EightCommand", "NineCommand"};
    for (const QChar digit : digits)
        click(QLatin1String(Buttons[digit.digitValue()]));
}

void RealPanel::fill(const QString &box, const QString &text) const
{
    auto *edit = find<QLineEdit>(box);
    if (!edit)
        qFatal("no box named %s", qPrintable(box));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
}

QStringList RealPanel::boxTexts() const
{
    QStringList texts;
    for (const Message &box : boxes.shown) {
        texts << QString::fromStdString(box.title + '|' + box.prompt) + '|'
                         + QString::number(int(box.kind));
    }
    return texts;
}

QStringList RealPanel::framesTried() const
{
    QStringList frames;
    const auto *log = form->findChild<FrameLogModel *>();
    for (const LoggedFrame &entry : log->history().entries())
        frames << QString::fromStdString(entry.frame) + (entry.sent() ? "" : " not sent");
    return frames;
}

} // namespace mq7410::test

#include "formfixture.h"

#include <QAbstractButton>
#include <QTest>

namespace mq7410::test {

FormFixture::FormFixture()
    : form(std::make_unique<UIForm>(port, boxes))
{}

bool FormFixture::load()
{
    boxes.questionAnswers = {BoxAnswer::Yes};
    const bool loaded = form->Form_Load();
    boxes.shown.clear();
    return loaded;
}

FormFixture::~FormFixture() = default;

QWidget *FormFixture::widget(const QString &name) const
{
    return form->findChild<QWidget *>(name);
}

QAction *FormFixture::action(const QString &name) const
{
    return form->findChild<QAction *>(name);
}

void FormFixture::click(const QString &name) const
{
    auto *button = find<QAbstractButton>(name);
    if (!button)
        qFatal("no button named %s", qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace mq7410::test

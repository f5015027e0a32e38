#include "app/qtmessageboxes.h"
#include "app/uiform.h"
#include "serial/qtserialport.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    mq7410::QtMessageBoxes boxes;
    mq7410::QtSerialPort port;
    mq7410::UIForm form(port, boxes);
    boxes.setParentWindow(&form);
    QObject::connect(&form, &mq7410::UIForm::endRequested, &app, &QCoreApplication::quit);

    if (!form.Form_Load())
        return 0;
    form.show();
    return QApplication::exec();
}

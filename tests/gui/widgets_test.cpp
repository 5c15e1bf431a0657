#include <QTest>
#include <QObject>
class WidgetsTest : public QObject { Q_OBJECT private slots: void none() {} };
QTEST_MAIN(WidgetsTest)
#include "widgets_test.moc"

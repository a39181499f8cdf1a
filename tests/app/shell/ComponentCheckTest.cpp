// The start-up component check and its messages.
#include <stdexcept>

#include <QTest>

#include "ComponentCheck.h"
#include "ShellTestSupport.h"

namespace kestrova::test {

class ComponentCheckTest : public QObject {
    Q_OBJECT

  private slots:
    void everyComponentOfThisBuildIsThere() {
        std::string message = "untouched";
        QVERIFY(CheckComponents(message));
        QCOMPARE(message, "untouched");
        std::vector<std::string> names;
        for (const Component& c : StartupComponents()) names.push_back(c.name);
        QCOMPARE(names, (std::vector<std::string>{"Tessel.dll", "workhost.exe", "msxml.dll",
                                                  "Fetchcore.dll", "KESCustom.dll"}));
    }

    void eachMissingComponentIsNamedInUpperCase_data() {
        QTest::addColumn<QString>("component");
        QTest::addColumn<QString>("message");
        const QString advice = QStringLiteral(
            "' or one of its dependencies not correctly registered: a file is missing or invalid. "
            "Try to reinstall Kestrova.");
        QTest::newRow("services") << "Tessel.dll"
                                  << "Component 'TESSEL.DLL" + advice;
        QTest::newRow("threads") << "workhost.exe"
                                 << "Component 'WORKHOST.EXE" + advice;
        QTest::newRow("engine") << "Fetchcore.dll"
                                << "Component 'FETCHCORE.DLL" + advice;
        QTest::newRow("pictures") << "KESCustom.dll"
                                  << "Component 'KESCUSTOM.DLL" + advice;
        // The HTTP component's message ends after "invalid. ", with no advice.
        QTest::newRow("http") << "msxml.dll"
                              << "Component 'MSXML.DLL' or one of its dependencies not correctly "
                                 "registered: a file is missing or invalid. ";
    }
    void eachMissingComponentIsNamedInUpperCase() {
        QFETCH(QString, component);
        QFETCH(QString, message);
        ScopedComponentFailure missing(component.toStdString());
        std::string got;
        QVERIFY(!CheckComponents(got));
        QCOMPARE(QString::fromStdString(got), message);
    }

    void checkStopsAtTheFirstFailureAndCountsAnErrorAsOne() {
        int laterChecks = 0;
        const std::vector<Component> components = {
            {"first.dll", true, [] { return true; }},
            {"second.dll", true, []() -> bool { throw std::runtime_error("cannot load"); }},
            {"third.dll", false, [&] { return ++laterChecks > 0; }},
        };
        std::string message;
        QVERIFY(!CheckComponents(components, message));
        QVERIFY(message.starts_with("Component 'SECOND.DLL'"));
        QCOMPARE(laterChecks, 0);
    }

    void failureSeamRestoresTheRealCheck() {
        {
            ScopedComponentFailure missing("KESCustom.dll");
            std::string message;
            QVERIFY(!CheckComponents(message));
        }
        std::string message;
        QVERIFY(CheckComponents(message));
    }
};

}  // namespace kestrova::test

using kestrova::test::ComponentCheckTest;
KES_TEST_CLASS(ComponentCheckTest);

#include "ComponentCheckTest.moc"

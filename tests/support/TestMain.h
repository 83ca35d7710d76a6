#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QTest>

#include <memory>

// One test program runs the test classes of one source folder, each class
// testing one class (or a small group) of that folder:
//
//     TARVEL_TEST_GUILESS_MAIN(TestResolution, TestEntryChecks, TestDependencyRules)
//
// (TARVEL_TEST_MAIN where the classes need widgets.)
// Every class runs, also after a failure; the exit code is the number of
// failed test functions over all of them, as QTEST_MAIN gives for one.
namespace Tarvel::Test {

template<class App, class... Classes> int runTestClasses(int argc, char **argv)
{
    App app(argc, argv);
    QTEST_SET_MAIN_SOURCE_PATH
    int failed = 0;
    auto run = [&](auto tag) {
        using Class = typename decltype(tag)::type;
        auto object = std::make_unique<Class>();
        failed += QTest::qExec(object.get(), argc, argv);
    };
    (run(std::type_identity<Classes>()), ...);
    return failed;
}

} // namespace Tarvel::Test

#define TARVEL_TEST_MAIN(...)                                                                                         \
    int main(int argc, char **argv) { return Tarvel::Test::runTestClasses<QApplication, __VA_ARGS__>(argc, argv); }
#define TARVEL_TEST_GUILESS_MAIN(...)                                                                                 \
    int main(int argc, char **argv)                                                                                   \
    {                                                                                                                 \
        return Tarvel::Test::runTestClasses<QCoreApplication, __VA_ARGS__>(argc, argv);                               \
    }

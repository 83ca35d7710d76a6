// qxdbuild SOURCE_DIR OUTPUT.qxd - builds the drive catalogue from data/.
#include "CatalogueBuilder.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 3) {
        err << "usage: qxdbuild SOURCE_DIR OUTPUT.qxd\n";
        return 2;
    }
    CatalogueBuilder builder(args.at(1), args.at(2));
    if (!builder.build()) {
        err << "qxdbuild: " << builder.errorString() << '\n';
        return 1;
    }
    QTextStream out(stdout);
    for (const QString &line : builder.summary())
        out << "qxdbuild: " << line << '\n';
    return 0;
}

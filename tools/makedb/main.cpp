// Makes the empty list file that ships beside the program.
#include "store/SchemaBuilder.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 3) {
        QTextStream(stderr) << "usage: tf_makedb SCHEMA.sql LIST.db\n";
        return 2;
    }
    QString error;
    if (!SchemaBuilder::CreateListFile(arguments.at(2), arguments.at(1), &error)) {
        QTextStream(stderr) << "tf_makedb: " << error << '\n';
        return 1;
    }
    return 0;
}

#include "SchematicCommands.h"

#include "CliOptions.h"
#include "CliSession.h"
#include "base/TextFile.h"
#include "model/DriveKey.h"
#include "print/PageComposer.h"
#include "print/PdfDocument.h"
#include "print/SchematicRenderer.h"
#include "print/SchematicSheet.h"
#include "schematic/SchematicElements.h"
#include "schematic/SchematicFile.h"
#include "schematic/SchematicModel.h"

#include <QFile>
#include <QFileInfo>

namespace Tarvel {

namespace {

QStringList fileLines(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? TextFile::decodeLines(file.readAll()) : QStringList();
}

QString configPathFor(const QString &schematicPath)
{
    return schematicPath.left(schematicPath.size() - 4) + QStringLiteral(".qxc");
}

} // namespace

int SchematicCommands::schematic(CliSession &s)
{
    QStringList args = s.args();
    if (args.isEmpty())
        return s.usageError(QStringLiteral("schematic takes a file name"));
    const QString path = CliSession::absolutePath(args.takeFirst());
    if (s.isSet(SetOption))
        return setStates(s, path, s.parser().values(SetOption) + args);
    if (!args.isEmpty())
        return s.usageError(QStringLiteral("schematic takes one file name"));
    if (s.isSet(SvgOption))
        return drawing(s, path);
    return decode(s, path);
}

void SchematicCommands::printStates(CliSession &s, const QString &state, bool twoPage)
{
    int pos = 0;
    for (const ElementSlot &slot : SchematicElements::positions(twoPage)) {
        if (!twoPage && pos == SchematicElements::FixedX)
            ++pos;
        const QChar c = pos < state.size() ? state.at(pos) : QChar();
        ++pos;
        const int digit = c.isDigit() ? c.digitValue() : -1;
        const QString shows = SchematicElements::knows(slot.kind, digit)
            ? SchematicElements::stateText(slot.kind, digit)
            : QStringLiteral("unchanged");
        s.out() << pos << u' ' << slot.name() << QStringLiteral(": ") << shows << Qt::endl;
    }
}

int SchematicCommands::decode(CliSession &s, const QString &path)
{
    if (!QFileInfo(path).isFile())
        return s.cannotRun(QStringLiteral("no file %1").arg(path));
    QString state;
    for (const QString &line : fileLines(path))
        if (!line.isEmpty() && line.at(0).isDigit())
            state = line;
    // The drive's series says which table; without its configuration the
    // length of the string does.
    const QString firstLine = fileLines(configPathFor(path)).value(0);
    const bool twoPage = firstLine.startsWith(u'#')
        ? SchematicModel::twoPageSeries(DriveKey::fromFileLine(firstLine).series)
        : state.size() > SchematicElements::SingleLength;
    printStates(s, state, twoPage);
    return s.finish();
}

// The configuration of the same name gives the drive and the captions; the
// schematic file, when there is one, the states.
bool SchematicCommands::openWithConfig(CliSession &s, const QString &schematicPath, SchematicModel &model)
{
    const QString config = configPathFor(schematicPath);
    if (!QFileInfo(config).isFile()) {
        s.cannotRun(QStringLiteral("no configuration %1").arg(config));
        return false;
    }
    if (!s.openConfig(config))
        return false;
    model.load();
    SchematicFile(s.ctx(), model).openSchematic(schematicPath);
    return true;
}

int SchematicCommands::setStates(CliSession &s, const QString &path, const QStringList &assignments)
{
    const QString schematicPath = SchematicFile::pathFor(path);
    SchematicModel model(s.ctx());
    if (!openWithConfig(s, schematicPath, model)) {
        s.finish();
        return ExitCannotRun;
    }
    const QList<ElementSlot> &places = model.positions();
    for (const QString &word : assignments) {
        const QStringList parts = word.split(u'=');
        bool posOk = false, digitOk = false;
        const int pos = parts.value(0).toInt(&posOk);
        const int digit = parts.value(1).toInt(&digitOk);
        if (parts.size() != 2 || !posOk || !digitOk)
            return s.usageError(QStringLiteral("%1 is not POSITION=DIGIT such as 1=2").arg(word));
        // Positions count the state string's characters; the "X" of a
        // one-page string is no element.
        int slot = pos - 1;
        if (!model.twoPage() && slot >= SchematicElements::FixedX)
            slot = slot == SchematicElements::FixedX ? -1 : slot - 1;
        if (slot < 0 || slot >= places.size() || !model.setDigit(places[slot].kind, places[slot].input, digit))
            s.problem(QStringLiteral("%1: no element at that position takes that digit").arg(word));
    }
    if (!SchematicFile(s.ctx(), model).saveSchematic(schematicPath, false))
        s.problem(QStringLiteral("%1 was not saved").arg(schematicPath));
    printStates(s, model.stateString(), model.twoPage());
    return s.finish();
}

int SchematicCommands::drawing(CliSession &s, const QString &path)
{
    const int page = s.isSet(PageOption) ? s.value(PageOption).toInt() : 1;
    if (page != 1 && page != 2)
        return s.usageError(QStringLiteral("--page takes 1 or 2"));
    SchematicModel model(s.ctx());
    if (!openWithConfig(s, path, model)) {
        s.finish();
        return ExitCannotRun;
    }
    if (!model.twoPage() && page == 2)
        return s.cannotRun(QStringLiteral("a series 1 or 2 drive has one page"));
    const SchematicPage shown = !model.twoPage() ? SchematicPage::Single
        : page == 1                              ? SchematicPage::Control
                                                 : SchematicPage::Power;
    const QByteArray svg = SchematicRenderer(s.ctx(), model, shown).svgDocument();
    QFile out(CliSession::absolutePath(s.value(SvgOption)));
    if (!out.open(QIODevice::WriteOnly) || out.write(svg) != svg.size())
        return s.cannotRun(QStringLiteral("cannot write %1").arg(s.value(SvgOption)));
    return s.finish();
}

int SchematicCommands::print(CliSession &s)
{
    const QStringList args = s.args();
    if (args.size() != 1)
        return s.usageError(QStringLiteral("print takes one file name"));
    if (!s.isSet(OutOption))
        return s.usageError(QStringLiteral("print needs -o OUT.pdf"));
    if (s.isSet(FitOption) && s.isSet(OriginalOption))
        return s.usageError(QStringLiteral("--fit and --original exclude each other"));
    SchematicModel model(s.ctx());
    if (!openWithConfig(s, SchematicFile::pathFor(CliSession::absolutePath(args.first())), model)) {
        s.finish();
        return ExitCannotRun;
    }
    s.ctx().state.titleCompany = s.value(CompanyOption);
    s.ctx().state.titleProject = s.value(ProjectOption);
    const QList<SchematicPage> pages
        = model.twoPage() ? QList {SchematicPage::Control, SchematicPage::Power} : QList {SchematicPage::Single};
    std::vector<std::unique_ptr<SchematicSheet>> sheets;
    QList<const SchematicSheet *> printed;
    for (SchematicPage page : pages) {
        sheets.push_back(std::make_unique<SchematicSheet>(s.ctx(), model, page, TitleBlock::forPage(s.ctx(), page)));
        printed << sheets.back().get();
    }
    PrintLayout layout;
    layout.method = s.isSet(OriginalOption) ? PrintLayout::OriginalSize : PrintLayout::FitProportional;
    QString error;
    const QString out = CliSession::absolutePath(s.value(OutOption));
    if (!PdfDocument::write(out, PageComposer(layout, printed), {}, &error))
        return s.cannotRun(QStringLiteral("cannot write %1: %2").arg(out, error));
    return s.finish();
}

} // namespace Tarvel

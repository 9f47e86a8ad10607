// Turns the user guide (Markdown) into one HTML page for Help > Contents,
// with Qt's Markdown reader.  Headings get the anchor names their links in
// the guide use (lower case, blanks as "-", other punctuation dropped).
// Build-time helper, not installed.
//   kalvion-md2html GUIDE.md OUT.html TITLE
#include <QFile>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdio>

namespace {

QString Slug(const QString &heading)
{
    QString out;
    for (const QChar c : heading.toLower()) {
        if (c.isLetterOrNumber() || c == u'-' || c == u'_')
            out += c;
        else if (c == u' ')
            out += u'-';
    }
    return out;
}

const char *Style = R"(<style>
body { font-family: sans-serif; max-width: 52em; margin: 2em auto; padding: 0 1em; line-height: 1.45; color: #1b1f24; }
h1, h2, h3 { color: #14305c; }
table { border-collapse: collapse; margin: 0.8em 0; }
td, th { border: 1px solid #c8d0dc; padding: 0.25em 0.6em; vertical-align: top; }
pre { background: #f3f5f8; padding: 0.6em 0.9em; overflow-x: auto; }
code { font-family: monospace; }
img { max-width: 100%; }
</style>
)";

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s GUIDE.md OUT.html TITLE\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 1;
    }
    QTextDocument doc;
    doc.setMarkdown(QString::fromUtf8(in.readAll()), QTextDocument::MarkdownDialectGitHub);

    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b.blockFormat().headingLevel() <= 0 || b.text().isEmpty())
            continue;
        QTextCursor c(b);
        c.select(QTextCursor::BlockUnderCursor);
        c.setPosition(b.position());
        c.setPosition(b.position() + b.length() - 1, QTextCursor::KeepAnchor);
        QTextCharFormat f;
        f.setAnchor(true);
        f.setAnchorNames({Slug(b.text())});
        c.mergeCharFormat(f);
    }

    QString html = doc.toHtml();
    html.replace(QStringLiteral("<head>"), QStringLiteral("<head><title>") + QString::fromUtf8(argv[3]).toHtmlEscaped() +
                                               QStringLiteral("</title>") + QString::fromUtf8(Style));
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(html.toUtf8()) < 0) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}

#include "IniDocument.h"

#include "codepages/CodePage.h"

namespace config {

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

bool isBlank(QChar c) { return c.unicode() <= 0x20; }

bool sameName(QStringView a, QStringView b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

const codepages::CodePage &windowsCyrillic() { return codepages::CodePage::byNumber(1251); }

} // namespace

QString trimIniText(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin).toString();
}

IniDocument IniDocument::parse(const QByteArray &bytes)
{
    IniDocument doc;
    QString text;
    if (bytes.startsWith(kUtf8Bom)) {
        doc.utf8_ = true;
        text = QString::fromUtf8(bytes.mid(kUtf8Bom.size()));
    } else {
        text = windowsCyrillic().decode(bytes);
    }

    bool endingChosen = false;
    qsizetype pos = 0;
    while (pos < text.size()) {
        qsizetype end = pos;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        Line line;
        line.text = text.mid(pos, end - pos);
        qsizetype next = end;
        if (next < text.size()) {
            const bool crlf = text[next] == u'\r' && next + 1 < text.size() && text[next + 1] == u'\n';
            if (!endingChosen) {
                doc.lineEnd_ = crlf ? QStringLiteral("\r\n") : QString(text[next]);
                endingChosen = true;
            }
            next += crlf ? 2 : 1;
        }
        pos = next;

        const QString trimmed = trimIniText(line.text);
        if (trimmed.startsWith(u'[')) {
            const qsizetype close = trimmed.lastIndexOf(u']');
            line.kind = Kind::Section;
            line.name = trimIniText(QStringView(trimmed).mid(1, close > 0 ? close - 1 : -1));
        } else if (!trimmed.isEmpty() && !trimmed.startsWith(u';')) {
            const qsizetype eq = trimmed.indexOf(u'=');
            if (eq > 0) {
                line.kind = Kind::Key;
                line.name = trimIniText(QStringView(trimmed).left(eq));
                line.value = trimIniText(QStringView(trimmed).mid(eq + 1));
            }
        }
        doc.lines_.push_back(std::move(line));
    }
    return doc;
}

QByteArray IniDocument::serialize() const
{
    QString text;
    for (const Line &line : lines_) {
        text += line.text;
        text += lineEnd_;
    }
    if (utf8_)
        return kUtf8Bom + text.toUtf8();
    return windowsCyrillic().encode(text);
}

qsizetype IniDocument::findSection(QStringView section) const
{
    const QString name = trimIniText(section);
    for (qsizetype i = 0; i < qsizetype(lines_.size()); ++i)
        if (lines_[i].kind == Kind::Section && sameName(lines_[i].name, name))
            return i;
    return -1;
}

qsizetype IniDocument::sectionEnd(qsizetype header) const
{
    qsizetype i = header + 1;
    while (i < qsizetype(lines_.size()) && lines_[i].kind != Kind::Section)
        ++i;
    return i;
}

std::optional<QString> IniDocument::value(QStringView section, QStringView key) const
{
    const qsizetype header = findSection(section);
    if (header < 0)
        return std::nullopt;
    const QString name = trimIniText(key);
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i)
        if (lines_[i].kind == Kind::Key && sameName(lines_[i].name, name))
            return lines_[i].value;
    return std::nullopt;
}

void IniDocument::setValue(const QString &section, const QString &key, const QString &value)
{
    const QString sectionName = trimIniText(section);
    const QString keyName = trimIniText(key);
    Line keyLine;
    keyLine.kind = Kind::Key;
    keyLine.name = keyName;
    keyLine.value = trimIniText(value);
    keyLine.text = keyName + u'=' + value;

    qsizetype header = findSection(sectionName);
    if (header < 0) {
        Line headerLine;
        headerLine.kind = Kind::Section;
        headerLine.name = sectionName;
        headerLine.text = u'[' + sectionName + u']';
        lines_.push_back(std::move(headerLine));
        lines_.push_back(std::move(keyLine));
        return;
    }
    const qsizetype end = sectionEnd(header);
    qsizetype lastContent = header;
    for (qsizetype i = header + 1; i < end; ++i) {
        Line &line = lines_[i];
        if (line.kind == Kind::Key && sameName(line.name, keyName)) {
            keyLine.name = line.name; // the key keeps its spelling in the file
            keyLine.text = line.name + u'=' + value;
            line = std::move(keyLine);
            return;
        }
        if (!trimIniText(line.text).isEmpty())
            lastContent = i;
    }
    // New keys go after the section's last non-blank line, before the blank
    // lines that separate it from the next section.
    lines_.insert(lines_.begin() + lastContent + 1, std::move(keyLine));
}

bool IniDocument::hasSection(QStringView section) const { return findSection(section) >= 0; }

QStringList IniDocument::sectionNames() const
{
    QStringList names;
    for (const Line &line : lines_)
        if (line.kind == Kind::Section)
            names << line.name;
    return names;
}

QStringList IniDocument::keyNames(QStringView section) const
{
    QStringList names;
    const qsizetype header = findSection(section);
    if (header < 0)
        return names;
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i)
        if (lines_[i].kind == Kind::Key)
            names << lines_[i].name;
    return names;
}

std::vector<std::pair<QString, QString>> IniDocument::entries(QStringView section) const
{
    std::vector<std::pair<QString, QString>> found;
    const qsizetype header = findSection(section);
    if (header < 0)
        return found;
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i)
        if (lines_[i].kind == Kind::Key)
            found.emplace_back(lines_[i].name, lines_[i].value);
    return found;
}

} // namespace config

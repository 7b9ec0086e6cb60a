#pragma once

#include "common/StateFolder.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <optional>
#include <vector>

namespace trevolo {

// The largest settings file that is read; a larger one is refused before it
// is read, with "File too large".
constexpr qint64 MaxSettingsFileBytes = qint64(16) * 1024 * 1024;

// One named section of an INI document: keys in order of first insertion,
// each with its value. Keys are unique by a case-blind match.
class TSection
{
public:
    explicit TSection(QString name);

    const QString &Name() const noexcept { return m_name; }
    // Item i of Values() is the value of item i of Keys().
    const QStringList &Keys() const noexcept { return m_keys; }
    const QStringList &Values() const noexcept { return m_values; }
    qsizetype Count() const noexcept { return m_keys.size(); }

    // Position of the key that matches `key` regardless of letter case, or -1.
    qsizetype IndexOfKey(QStringView key) const;

    // Appends the pair when no key matches; otherwise replaces the value in
    // place, and the stored key keeps its letter case and position.
    void SetValue(const QString &key, const QString &value);

private:
    QString m_name;
    QStringList m_keys;
    QStringList m_values;
    QHash<QString, qsizetype> m_keyIndex; // folded key -> position
};

// The program's INI document: sections of key/value pairs in memory, read
// from and written to files of its own dialect. Every value stands in double
// quotes with nothing escaped, every entry line is indented by two
// characters, and a value may run over several lines. Files hold code page
// 1251 text with CR LF line ends.
class TINIView
{
public:
    using SectionList = std::vector<std::unique_ptr<TSection>>;

    TINIView();
    ~TINIView();
    TINIView(const TINIView &) = delete;
    TINIView &operator=(const TINIView &) = delete;

    // Frees every section. Sections handed out before are gone.
    void Clear();

    // Reads the file and appends its sections; the document is not cleared
    // first. A file that cannot be read raises IoError; what was read before
    // the failure stays. Only a regular file (or a symlink to one) of at most
    // MaxSettingsFileBytes is read; anything else adds nothing.
    void LoadFromFile(const QString &fileName);
    // Writes the whole document, replacing the file (SaveWholeFile: through a
    // symlink, only to a regular file; rewritten in place, with a copy kept in
    // `backupFolder`, when its folder takes no new file). A failure raises
    // IoError, whose message names the copy a failed rewrite in place kept.
    void SaveToFile(const QString &fileName, const QString &backupFolder = StateFolderPath()) const;

    // The same, on the file's bytes.
    void LoadFromBytes(QByteArrayView bytes);
    QByteArray SaveToBytes() const;

    // In the order read or created; item i of SectionNames() is the name of
    // item i of Sections(). Names may repeat.
    const SectionList &Sections() const noexcept { return m_sections; }
    const QStringList &SectionNames() const noexcept { return m_sectionNames; }

    // The first section whose name matches regardless of letter case, or
    // nullptr. Valid until the next Clear() or the end of the document.
    TSection *FindSection(QStringView name);
    const TSection *FindSection(QStringView name) const;

    // Reads never fail: a missing section or key, or a text that does not
    // convert, gives the default. An empty stored value is a value.
    QString ReadString(QStringView section, QStringView key, const QString &defaultValue) const;
    bool ReadBool(QStringView section, QStringView key, bool defaultValue) const;
    qint32 ReadInteger(QStringView section, QStringView key, qint32 defaultValue) const;

    // Writes change memory only. A missing section is appended first; a
    // Boolean is stored as "-1" or "0", an integer in plain decimal.
    void WriteString(QStringView section, QStringView key, const QString &value);
    void WriteBool(QStringView section, QStringView key, bool value);
    void WriteInteger(QStringView section, QStringView key, qint32 value);

private:
    class Reader;

    TSection &AppendSection(const QString &name);

    SectionList m_sections;
    QStringList m_sectionNames;
    QHash<QString, qsizetype> m_firstSection; // folded name -> first position
};

// How ReadBool reads a stored text: "True" or "False" in any letter case, or
// a decimal number (true when it is not zero); anything else gives nothing.
std::optional<bool> TextToBool(QStringView text);

} // namespace trevolo

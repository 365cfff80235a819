#include "app/ImportPreview.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <optional>

namespace verbaro {

namespace {

// Reads the parts of the answer, keeping the first thing that is not as it should be.
class Reader {
 public:
  bool Failed() const { return !m_error.isEmpty(); }
  const QString& Error() const { return m_error; }

  void Fail(const QString& what) {
    if (m_error.isEmpty()) m_error = what;
  }

  QString String(const QJsonObject& object, const QString& key, const QString& where,
                 bool required = false) {
    const QJsonValue value = object.value(key);
    if (value.isString()) return value.toString();
    if (!value.isUndefined() || required) Fail(Wrong(key, where, QStringLiteral("текст")));
    return {};
  }

  // A whole number from 0 up; absent: `fallback`.
  std::optional<qint64> Count(const QJsonObject& object, const QString& key, const QString& where,
                              std::optional<qint64> fallback) {
    const QJsonValue value = object.value(key);
    if (value.isUndefined() && fallback) return fallback;
    const double number = value.toDouble(-1);
    // Doubles hold whole numbers exactly up to 2^53; the counts stay far below.
    if (!value.isDouble() || number < 0 || number > 9.0e15 ||
        number != static_cast<double>(static_cast<qint64>(number))) {
      Fail(Wrong(key, where, QStringLiteral("целое число не меньше нуля")));
      return std::nullopt;
    }
    return static_cast<qint64>(number);
  }

  bool Flag(const QJsonObject& object, const QString& key) {
    const QJsonValue value = object.value(key);
    if (value.isUndefined()) return false;
    if (!value.isBool()) Fail(Wrong(key, QString(), QStringLiteral("да или нет")));
    return value.toBool();
  }

  QStringList Strings(const QJsonObject& object, const QString& key, const QString& where) {
    const QJsonValue value = object.value(key);
    QStringList strings;
    if (value.isUndefined()) return strings;
    if (!value.isArray()) {
      Fail(Wrong(key, where, QStringLiteral("список текстов")));
      return strings;
    }
    for (const QJsonValue item : value.toArray()) {
      if (!item.isString()) {
        Fail(Wrong(key, where, QStringLiteral("список текстов")));
        return {};
      }
      strings.append(item.toString());
    }
    return strings;
  }

  QJsonArray Array(const QJsonObject& object, const QString& key, bool required) {
    const QJsonValue value = object.value(key);
    if (value.isArray()) return value.toArray();
    if (!value.isUndefined() || required) Fail(Wrong(key, QString(), QStringLiteral("список")));
    return {};
  }

 private:
  static QString Wrong(const QString& key, const QString& where, const QString& expected) {
    QString text = QStringLiteral("поле «%1»").arg(key);
    if (!where.isEmpty()) text += QLatin1Char(' ') + where;
    return text + QStringLiteral(" должно быть: ") + expected;
  }

  QString m_error;
};

std::optional<ImportRecording> RecordingOf(const QString& text) {
  if (text == u"given") return ImportRecording::Given;
  if (text == u"convert") return ImportRecording::Convert;
  if (text == u"voice") return ImportRecording::Voice;
  if (text.isEmpty()) return ImportRecording::None;
  return std::nullopt;
}

std::vector<ImportColumn> ReadColumns(Reader& reader, const QJsonObject& root) {
  std::vector<ImportColumn> columns;
  const QJsonArray array = reader.Array(root, QStringLiteral("columns"), true);
  for (qsizetype i = 0; i < array.size() && !reader.Failed(); ++i) {
    const QString where = QStringLiteral("столбца %1").arg(i + 1);
    if (!array.at(i).isObject()) {
      reader.Fail(QStringLiteral("описание %1 должно быть объектом").arg(where));
      break;
    }
    const QJsonObject object = array.at(i).toObject();
    ImportColumn column;
    column.name = reader.String(object, QStringLiteral("name"), where);
    column.language = reader.String(object, QStringLiteral("language"), where);
    columns.push_back(column);
  }
  if (!reader.Failed() && columns.size() < 2) {
    reader.Fail(QStringLiteral("в источнике должно быть не меньше двух столбцов"));
  }
  return columns;
}

ImportCounts ReadCounts(Reader& reader, const QJsonObject& root) {
  ImportCounts counts;
  const QJsonValue value = root.value(QStringLiteral("counts"));
  if (!value.isObject()) {
    reader.Fail(QStringLiteral("нет чисел заметок и записей («counts»)"));
    return counts;
  }
  const QJsonObject object = value.toObject();
  const QString where = QStringLiteral("в «counts»");
  const auto read = [&](const char16_t* key, qint64& into) {
    if (const auto count = reader.Count(object, QString::fromUtf16(key), where, 0)) into = *count;
  };
  read(u"notes", counts.notes);
  read(u"entries", counts.entries);
  read(u"merged", counts.merged);
  read(u"skipped", counts.skipped);
  read(u"given", counts.given);
  read(u"convert", counts.convert);
  read(u"voice", counts.voice);
  return counts;
}

std::vector<ImportEntry> ReadEntries(Reader& reader, const QJsonObject& root) {
  std::vector<ImportEntry> entries;
  const QJsonArray array = reader.Array(root, QStringLiteral("entries"), true);
  for (qsizetype i = 0; i < array.size() && !reader.Failed(); ++i) {
    const QString where = QStringLiteral("записи %1").arg(i + 1);
    if (!array.at(i).isObject()) {
      reader.Fail(QStringLiteral("описание %1 должно быть объектом").arg(where));
      break;
    }
    const QJsonObject object = array.at(i).toObject();
    ImportEntry entry;
    entry.word = reader.String(object, QStringLiteral("word"), where, true);
    entry.grammar = reader.String(object, QStringLiteral("grammar"), where);
    entry.number = reader.String(object, QStringLiteral("number"), where);
    entry.info = reader.Strings(object, QStringLiteral("info"), where);
    entry.translations = reader.Strings(object, QStringLiteral("translations"), where);
    const QString recording = reader.String(object, QStringLiteral("recording"), where);
    if (const auto kind = RecordingOf(recording)) {
      entry.recording = *kind;
    } else {
      reader.Fail(QStringLiteral("у %1 неизвестный вид записи звука «%2»").arg(where, recording));
    }
    entries.push_back(entry);
  }
  return entries;
}

void ReadSides(Reader& reader, const QJsonObject& root, ImportPreview& preview) {
  const auto side = [&](const char16_t* key) -> int {
    const auto index = reader.Count(root, QString::fromUtf16(key), QString(), std::nullopt);
    if (!index) return -1;
    if (*index >= static_cast<qint64>(preview.columns.size())) {
      reader.Fail(
          QStringLiteral("поле «%1» называет столбец, которого нет").arg(QString::fromUtf16(key)));
      return -1;
    }
    return static_cast<int>(*index);
  };
  preview.frenchColumn = side(u"frenchColumn");
  preview.russianColumn = side(u"russianColumn");
  if (!reader.Failed() && preview.frenchColumn == preview.russianColumn) {
    reader.Fail(QStringLiteral("французский и русский — один и тот же столбец"));
  }
}

}  // namespace

ImportPreviewResult ParseImportPreview(const QByteArray& json) {
  const QString prefix = QStringLiteral("Программа verbaro-lesson дала непонятный ответ: ");
  QJsonParseError parseError;
  const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
  if (parseError.error != QJsonParseError::NoError) {
    return prefix + QStringLiteral("это не JSON (%1, знак %2).")
                        .arg(parseError.errorString())
                        .arg(parseError.offset);
  }
  if (!document.isObject()) return prefix + QStringLiteral("ожидался объект JSON.");
  const QJsonObject root = document.object();

  Reader reader;
  ImportPreview preview;
  preview.format = reader.String(root, QStringLiteral("format"), QString(), true);
  if (!reader.Failed() && preview.format.isEmpty()) {
    reader.Fail(QStringLiteral("не назван формат источника"));
  }
  if (!reader.Failed()) preview.columns = ReadColumns(reader, root);
  if (!reader.Failed()) ReadSides(reader, root, preview);
  if (!reader.Failed()) preview.ambiguous = reader.Flag(root, QStringLiteral("ambiguous"));
  if (!reader.Failed()) preview.counts = ReadCounts(reader, root);
  if (!reader.Failed()) preview.entries = ReadEntries(reader, root);
  if (!reader.Failed()) preview.warnings = reader.Strings(root, QStringLiteral("warnings"), {});
  if (reader.Failed()) return prefix + reader.Error() + QLatin1Char('.');
  return preview;
}

QString FormatText(const QString& format) {
  if (format == u"Anki") return QStringLiteral("колода Anki");
  if (format == u"KVTML") return QStringLiteral("словарь KVTML");
  if (format == u"CSV") return QStringLiteral("таблица CSV");
  if (format == u"TSV") return QStringLiteral("таблица TSV");
  return format;
}

QString ColumnText(const ImportColumn& column, int index) {
  QString text = QStringLiteral("%1: ").arg(index + 1);
  text += column.name.isEmpty() ? QStringLiteral("без названия") : column.name;
  if (!column.language.isEmpty()) text += QStringLiteral(" (%1)").arg(column.language);
  return text;
}

QString RecordingText(ImportRecording recording) {
  switch (recording) {
    case ImportRecording::Given: return QStringLiteral("своя");
    case ImportRecording::Convert: return QStringLiteral("будет преобразована");
    case ImportRecording::Voice: return QStringLiteral("голос espeak");
    case ImportRecording::None: break;
  }
  return QStringLiteral("нет");
}

QString CountsText(const QString& format, const ImportCounts& counts) {
  QString units = QStringLiteral("Строк в таблице");
  if (format == u"Anki") units = QStringLiteral("Заметок в колоде");
  if (format == u"KVTML") units = QStringLiteral("Статей в словаре");
  return QStringLiteral(
             "%1: %2; записей в уроке: %3; повторов объединено: %4; пропущено: %5.\n"
             "Записи звука: своих — %6, будут преобразованы — %7, "
             "голосом espeak — %8.")
      .arg(units)
      .arg(counts.notes)
      .arg(counts.entries)
      .arg(counts.merged)
      .arg(counts.skipped)
      .arg(counts.given)
      .arg(counts.convert)
      .arg(counts.voice);
}

QString GrammarText(const ImportEntry& entry) {
  if (entry.number.isEmpty()) return entry.grammar;
  if (entry.grammar.isEmpty()) return entry.number;
  return entry.grammar + QStringLiteral(", ") + entry.number;
}

}  // namespace verbaro

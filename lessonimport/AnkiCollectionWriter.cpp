#include "lessonimport/AnkiCollectionWriter.h"

#include <sqlite3.h>

#include <cstdio>
#include <map>
#include <memory>

#include "data/Sql.h"
#include "lessonimport/ExportAnki.h"
#include "lessonimport/Sha1.h"

namespace verbaro::lessonimport {
namespace {

constexpr int kSchemaVersion = 11;

std::string Json(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    switch (c) {
      case '"': quoted += "\\\""; break;
      case '\\': quoted += "\\\\"; break;
      case '\n': quoted += "\\n"; break;
      case '\r': quoted += "\\r"; break;
      case '\t': quoted += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          quoted += escaped;
        } else {
          quoted += c;
        }
    }
  }
  return quoted + "\"";
}

const char* const kFieldNames[] = {"French", "Russian", "Transcription", "Notes", "Sound"};

std::string FieldsJson() {
  std::string json = "[";
  for (int i = 0; i < 5; ++i) {
    if (i) json += ',';
    json += "{\"name\":" + Json(kFieldNames[i]) + ",\"ord\":" + std::to_string(i) +
            ",\"sticky\":false,\"rtl\":false,\"font\":\"Arial\",\"size\":20,\"media\":[],"
            "\"description\":\"\"}";
  }
  return json + "]";
}

std::string TemplateJson(const char* name, int ord, const char* front, const char* back) {
  return "{\"name\":" + Json(name) + ",\"ord\":" + std::to_string(ord) +
         ",\"qfmt\":" + Json(front) + ",\"afmt\":" + Json(back) +
         ",\"bqfmt\":\"\",\"bafmt\":\"\",\"did\":null,\"bfont\":\"\",\"bsize\":0}";
}

std::string ModelsJson(int64_t modelId, int64_t deckId, int64_t nowSeconds) {
  const std::string templates =
      "[" +
      TemplateJson(
          "Французский → русский", 0, "<div class=\"word\">{{French}}</div>{{Sound}}",
          "{{FrontSide}}<hr id=answer><div>{{Russian}}</div>"
          "<div class=\"info\">{{Transcription}}</div><div class=\"info\">{{Notes}}</div>") +
      "," +
      TemplateJson("Русский → французский", 1, "<div>{{Russian}}</div>",
                   "{{FrontSide}}<hr id=answer><div class=\"word\">{{French}}</div>"
                   "<div class=\"info\">{{Transcription}}</div><div "
                   "class=\"info\">{{Notes}}</div>{{Sound}}") +
      "]";
  const std::string id = std::to_string(modelId);
  return "{" + Json(id) + ":{\"id\":" + id +
         ",\"name\":\"Verbaro: французский и русский\",\"type\":0," +
         "\"mod\":" + std::to_string(nowSeconds) +
         ",\"usn\":-1,\"sortf\":0,\"did\":" + std::to_string(deckId) + ",\"tmpls\":" + templates +
         ",\"flds\":" + FieldsJson() + ",\"css\":" +
         Json(
             ".card { font-family: Arial; font-size: 22px; text-align: center; }\n"
             ".word { font-size: 30px; }\n.info { color: #555; font-size: 18px; }\n") +
         ",\"latexPre\":" +
         Json(
             "\\documentclass[12pt]{article}\n\\special{papersize=3in,5in}\n"
             "\\usepackage[utf8]{inputenc}\n\\usepackage{amssymb,amsmath}\n"
             "\\pagestyle{empty}\n\\setlength{\\parindent}{0in}\n\\begin{document}\n") +
         ",\"latexPost\":" + Json("\\end{document}") +
         ",\"latexsvg\":false,\"req\":[[0,\"any\",[0]],[1,\"any\",[1]]],\"tags\":[],\"vers\":[]}}";
}

std::string DeckJson(int64_t id, const std::string& name, int64_t nowSeconds) {
  return "{\"id\":" + std::to_string(id) + ",\"name\":" + Json(name) +
         ",\"mod\":" + std::to_string(nowSeconds) +
         ",\"usn\":-1,\"lrnToday\":[0,0],\"revToday\":[0,0],\"newToday\":[0,0],\"timeToday\":[0,0],"
         "\"collapsed\":false,\"browserCollapsed\":false,\"desc\":\"\",\"dyn\":0,\"conf\":1,"
         "\"extendNew\":0,\"extendRev\":0}";
}

std::string DecksJson(int64_t deckId, const std::string& deckName, int64_t nowSeconds) {
  return "{\"1\":" + DeckJson(1, "Default", nowSeconds) + "," + Json(std::to_string(deckId)) + ":" +
         DeckJson(deckId, deckName, nowSeconds) + "}";
}

std::string DeckConfigJson(int64_t nowSeconds) {
  return "{\"1\":{\"id\":1,\"name\":\"Default\",\"mod\":" + std::to_string(nowSeconds) +
         ",\"usn\":0,\"maxTaken\":60,\"autoplay\":true,\"timer\":0,\"replayq\":true,\"dyn\":false,"
         "\"new\":{\"bury\":false,\"delays\":[1.0,10.0],\"initialFactor\":2500,\"ints\":[1,4,0],"
         "\"order\":1,\"perDay\":20},"
         "\"rev\":{\"bury\":false,\"ease4\":1.3,\"ivlFct\":1.0,\"maxIvl\":36500,\"perDay\":200,"
         "\"hardFactor\":1.2},"
         "\"lapse\":{\"delays\":[10.0],\"leechAction\":1,\"leechFails\":8,\"minInt\":1,\"mult\":0."
         "0}}}";
}

std::string ConfJson(int64_t modelId, int64_t deckId) {
  return "{\"activeDecks\":[" + std::to_string(deckId) + "],\"curDeck\":" + std::to_string(deckId) +
         ",\"newSpread\":0,\"collapseTime\":1200,\"timeLim\":0,\"estTimes\":true,\"dueCounts\":"
         "true,"
         "\"curModel\":" +
         std::to_string(modelId) +
         ",\"nextPos\":1,\"sortType\":\"noteFld\","
         "\"sortBackwards\":false,\"addToCur\":true}";
}

const char kSchemaSql[] = R"(
CREATE TABLE col (id integer primary key, crt integer not null, mod integer not null,
  scm integer not null, ver integer not null, dty integer not null, usn integer not null,
  ls integer not null, conf text not null, models text not null, decks text not null,
  dconf text not null, tags text not null);
CREATE TABLE notes (id integer primary key, guid text not null, mid integer not null,
  mod integer not null, usn integer not null, tags text not null, flds text not null,
  sfld integer not null, csum integer not null, flags integer not null, data text not null);
CREATE TABLE cards (id integer primary key, nid integer not null, did integer not null,
  ord integer not null, mod integer not null, usn integer not null, type integer not null,
  queue integer not null, due integer not null, ivl integer not null, factor integer not null,
  reps integer not null, lapses integer not null, left integer not null, odue integer not null,
  odid integer not null, flags integer not null, data text not null);
CREATE TABLE revlog (id integer primary key, cid integer not null, usn integer not null,
  ease integer not null, ivl integer not null, lastIvl integer not null, factor integer not null,
  time integer not null, type integer not null);
CREATE TABLE graves (usn integer not null, oid integer not null, type integer not null);
CREATE INDEX ix_notes_usn on notes (usn);
CREATE INDEX ix_cards_usn on cards (usn);
CREATE INDEX ix_revlog_usn on revlog (usn);
CREATE INDEX ix_cards_nid on cards (nid);
CREATE INDEX ix_cards_sched on cards (did, queue, due);
CREATE INDEX ix_revlog_cid on revlog (cid);
CREATE INDEX ix_notes_csum on notes (csum);
)";

// Anki's 91 characters for note guids.
constexpr std::string_view kBase91 =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!#$%&()*+,-./:;<=>?@[]^_`{|}~";

// The same entry gets the same guid in every export, so that importing a newer export into Anki
// updates its notes instead of adding them again; repeats of an entry in one lesson differ.
std::string Guid(const ExportEntry& entry, int occurrence) {
  const auto digest = Sha1("verbaro\x1f" + entry.grammar + '\x1f' + entry.number + '\x1f' +
                           entry.word + '\x1f' + std::to_string(occurrence));
  uint64_t value = 0;
  for (size_t i = 0; i < 8; ++i) value = value << 8 | digest[i];
  std::string guid;
  do {
    guid += kBase91[value % kBase91.size()];
    value /= kBase91.size();
  } while (value);
  return guid;
}

std::string NoteFields(const ExportEntry& entry, const std::string& mediaName) {
  std::string russian, notes;
  for (const std::string& translation : entry.translations)
    russian += (russian.empty() ? "" : "<br>") + AnkiFieldText(translation);
  for (const std::string* line : {&entry.info2, &entry.info3})
    if (!line->empty()) notes += (notes.empty() ? "" : "<br>") + AnkiFieldText(*line);
  const std::string sound = mediaName.empty() ? "" : "[sound:" + mediaName + "]";
  return AnkiFieldText(entry.word) + '\x1f' + russian + '\x1f' + AnkiFieldText(entry.info1) +
         '\x1f' + notes + '\x1f' + sound;
}

struct DbCloser {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};

class Writer {
 public:
  bool Open(const std::filesystem::path& file, std::string& error) {
    sqlite3* db = nullptr;
    const int rc =
        sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    m_db.reset(db);
    return Check(rc, error) &&
           Exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;", error) &&
           Exec(kSchemaSql, error);
  }
  bool Exec(const char* sql, std::string& error) {
    return Check(sqlite3_exec(m_db.get(), sql, nullptr, nullptr, nullptr), error);
  }
  Statement Prepare(const char* sql, std::string& error) {
    Statement statement(m_db.get(), sql);
    Check(statement.Result(), error);
    return statement;
  }
  // Runs the statement with what is bound to it; the next Bind starts its next use.
  bool Step(Statement& statement, std::string& error) {
    return Check(statement.Run() ? SQLITE_OK : statement.Result(), error);
  }
  bool Check(int rc, std::string& error) {
    if (rc == SQLITE_OK) return true;
    error = std::string("SQLite: ") + (m_db ? sqlite3_errmsg(m_db.get()) : sqlite3_errstr(rc));
    return false;
  }

 private:
  std::unique_ptr<sqlite3, DbCloser> m_db;
};

}  // namespace

bool WriteAnkiCollection(const std::filesystem::path& file, const std::vector<ExportEntry>& entries,
                         const std::vector<std::string>& mediaNames, const std::string& deckName,
                         int64_t nowMs, size_t& cards, std::string& error) {
  cards = 0;
  const int64_t nowSeconds = nowMs / 1000;
  const int64_t modelId = nowMs;
  const int64_t deckId = nowMs + 1;
  Writer writer;
  if (!writer.Open(file, error)) return false;

  Statement col = writer.Prepare("INSERT INTO col VALUES (1,?,?,?,?,0,0,0,?,?,?,?,'{}')", error);
  if (!col.IsValid()) return false;
  col.Bind(1, nowSeconds / 86400 * 86400);
  col.Bind(2, nowMs);
  col.Bind(3, nowMs);
  col.Bind(4, kSchemaVersion);
  col.Bind(5, ConfJson(modelId, deckId));
  col.Bind(6, ModelsJson(modelId, deckId, nowSeconds));
  col.Bind(7, DecksJson(deckId, deckName, nowSeconds));
  col.Bind(8, DeckConfigJson(nowSeconds));
  if (!writer.Step(col, error)) return false;

  Statement note = writer.Prepare("INSERT INTO notes VALUES (?,?,?,?,-1,'',?,?,?,0,'')", error);
  Statement card =
      writer.Prepare("INSERT INTO cards VALUES (?,?,?,?,?,-1,0,0,?,0,0,0,0,0,0,0,0,'')", error);
  if (!note.IsValid() || !card.IsValid()) return false;
  std::map<std::string, int> occurrences;
  for (size_t i = 0; i < entries.size(); ++i) {
    const ExportEntry& entry = entries[i];
    const auto index = static_cast<int64_t>(i);
    const int64_t noteId = nowMs + index;
    note.Bind(1, noteId);
    const std::string key = entry.grammar + '\x1f' + entry.number + '\x1f' + entry.word;
    note.Bind(2, Guid(entry, occurrences[key]++));
    note.Bind(3, modelId);
    note.Bind(4, nowSeconds);
    note.Bind(5, NoteFields(entry, mediaNames[i]));
    note.Bind(6, entry.word);
    note.Bind(7, AnkiChecksum(entry.word));
    if (!writer.Step(note, error)) return false;
    for (int ord = 0; ord < 2; ++ord) {
      // A card whose question would be empty is one Anki itself never makes.
      const bool asks =
          ord == 0 ? !entry.word.empty() || !mediaNames[i].empty() : !entry.translations.empty();
      if (!asks) continue;
      card.Bind(1, nowMs + 2 * index + ord);
      card.Bind(2, noteId);
      card.Bind(3, deckId);
      card.Bind(4, ord);
      card.Bind(5, nowSeconds);
      card.Bind(6, index + 1);  // a new card's due is its place in the deck
      if (!writer.Step(card, error)) return false;
      ++cards;
    }
  }
  return writer.Exec("COMMIT;", error);
}

}  // namespace verbaro::lessonimport

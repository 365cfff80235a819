#include "lessonimport/KvtmlDocument.h"

#include "lessonimport/ImportSource.h"
#include "lessonimport/SafeXml.h"
#include "lessonimport/SourceFile.h"

namespace verbaro::lessonimport {
namespace {

// A lesson or a word type: both are trees of containers listing entries.
struct Container {
  int parent = -1;
  std::string name;
  std::string specialType;
  std::vector<std::pair<std::string, std::string>> members;  // (entry id, identifier id or "")
};

std::string Trimmed(const std::string& text) {
  const char* space = " \t\r\n";
  const size_t first = text.find_first_not_of(space);
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(space) - first + 1);
}

std::string_view AttributeOf(const std::vector<XmlAttribute>& attributes, std::string_view name) {
  for (const XmlAttribute& attribute : attributes)
    if (attribute.name == name) return attribute.value;
  return {};
}

class KvtmlHandler : public XmlHandler {
 public:
  explicit KvtmlHandler(KvtmlDocument& document) : m_document(document) {}

  void StartElement(std::string_view name, const std::vector<XmlAttribute>& attributes) override {
    m_path.emplace_back(name);
    m_text.clear();
    m_overlong = false;
    if (m_path.size() == 1) {
      CheckRoot(name, attributes);
      return;
    }
    const std::string_view section = m_path[1];
    if (section == "identifiers" && m_path.size() == 3 && name == "identifier") {
      m_document.identifiers.push_back({std::string(AttributeOf(attributes, "id")), {}, {}});
    } else if (section == "entries" && m_path.size() == 3 && name == "entry") {
      if (m_document.entries.size() == kMaxSourceNotes) {
        Stop("в файле больше " + std::to_string(kMaxSourceNotes) + " записей — это не список слов");
        return;
      }
      m_document.entries.push_back({});
      m_document.entries.back().id = AttributeOf(attributes, "id");
    } else if (section == "entries" && m_path.size() == 4 && name == "translation" &&
               m_path[2] == "entry") {
      m_translationId = AttributeOf(attributes, "id");
    } else if (section == "lessons" || section == "wordtypes") {
      StartContainerPart(section == "lessons" ? m_lessons : m_wordTypes, name, attributes);
    }
  }

  void EndElement(std::string_view name) override {
    if (m_path.size() >= 2) {
      const std::string_view section = m_path[1];
      if (section == "identifiers" && m_path.size() == 4) EndIdentifierPart(name);
      else if (section == "entries" && m_path.size() == 5) EndTranslationPart(name);
      else if (section == "lessons") EndContainerPart(m_lessons, name);
      else if (section == "wordtypes") EndContainerPart(m_wordTypes, name);
    }
    m_path.pop_back();
    m_text.clear();
  }

  void Characters(std::string_view text) override {
    if (m_text.size() + text.size() > kMaxCellBytes) {
      m_overlong = true;
      return;
    }
    m_text.append(text);
  }

  // The lessons and word types, once every container has been read.
  void Finish() {
    for (const Container& lesson : m_lessons.all)
      for (const auto& member : lesson.members)
        if (!lesson.name.empty()) m_document.lessonsOfEntry[member.first].push_back(lesson.name);
    for (size_t i = 0; i < m_wordTypes.all.size(); ++i) {
      const std::string type = SpecialTypeInForce(static_cast<int>(i));
      if (type.empty()) continue;
      for (const auto& member : m_wordTypes.all[i].members) m_document.wordTypes[member] = type;
    }
  }

 private:
  struct ContainerTree {
    std::vector<Container> all;
    std::vector<int> open;  // the containers being read, innermost last
  };

  void CheckRoot(std::string_view name, const std::vector<XmlAttribute>& attributes) {
    if (name != "kvtml") {
      Stop("это не файл KVTML: его корневой элемент <" + std::string(name) + ">");
      return;
    }
    const std::string_view version = AttributeOf(attributes, "version");
    if (version.empty() || version[0] != '2')
      Stop("файл в старом формате KVTML" +
           (version.empty() ? std::string() : " " + std::string(version)) +
           ": откройте его в KWordQuiz или Parley и сохраните заново");
  }

  void EndIdentifierPart(std::string_view name) {
    if (m_document.identifiers.empty()) return;
    KvtmlIdentifier& identifier = m_document.identifiers.back();
    if (name == "name") identifier.name = Trimmed(m_text);
    else if (name == "locale") identifier.locale = Trimmed(m_text);
  }

  void EndTranslationPart(std::string_view name) {
    if (m_document.entries.empty() || m_path[2] != "entry" || m_path[3] != "translation") return;
    KvtmlEntry& entry = m_document.entries.back();
    std::string* field = nullptr;
    KvtmlTranslation& translation = entry.translations[m_translationId];
    if (name == "text") field = &translation.text;
    else if (name == "pronunciation") field = &translation.pronunciation;
    else if (name == "comment") field = &translation.comment;
    else if (name == "example") field = &translation.example;
    else if (name == "sound") field = &translation.sound;
    if (field == nullptr) return;
    if (m_overlong) entry.overlong = true;
    else *field = Trimmed(m_text);
  }

  // <container> opens a container inside the innermost open one; <entry id> lists an entry in
  // it; <translation id> inside that entry narrows it to one language (word types).
  void StartContainerPart(ContainerTree& tree, std::string_view name,
                          const std::vector<XmlAttribute>& attributes) {
    const std::string_view parent = m_path[m_path.size() - 2];
    if (name == "container" && (parent == "container" || m_path.size() == 3)) {
      tree.all.push_back({tree.open.empty() ? -1 : tree.open.back(), {}, {}, {}});
      tree.open.push_back(static_cast<int>(tree.all.size() - 1));
    } else if (name == "entry" && parent == "container" && !tree.open.empty()) {
      m_containerEntry = AttributeOf(attributes, "id");
      m_entryHasTranslations = false;
    } else if (name == "translation" && parent == "entry" && !tree.open.empty()) {
      tree.all[static_cast<size_t>(tree.open.back())].members.emplace_back(
          m_containerEntry, std::string(AttributeOf(attributes, "id")));
      m_entryHasTranslations = true;
    }
  }

  void EndContainerPart(ContainerTree& tree, std::string_view name) {
    if (tree.open.empty() || m_path.size() < 2) return;
    const std::string_view parent = m_path[m_path.size() - 2];
    Container& innermost = tree.all[static_cast<size_t>(tree.open.back())];
    if (name == "container" && (parent == "container" || m_path.size() == 3)) {
      tree.open.pop_back();
    } else if (parent == "container" && name == "name") {
      innermost.name = Trimmed(m_text);
    } else if (parent == "container" && name == "specialwordtype") {
      innermost.specialType = Trimmed(m_text);
    } else if (parent == "container" && name == "entry" && !m_entryHasTranslations) {
      innermost.members.emplace_back(m_containerEntry, std::string());  // the whole entry
    }
  }

  std::string SpecialTypeInForce(int index) const {
    for (int i = index; i >= 0; i = m_wordTypes.all[static_cast<size_t>(i)].parent)
      if (!m_wordTypes.all[static_cast<size_t>(i)].specialType.empty())
        return m_wordTypes.all[static_cast<size_t>(i)].specialType;
    return {};
  }

  KvtmlDocument& m_document;
  std::vector<std::string> m_path;
  std::string m_text;
  bool m_overlong = false;
  std::string m_translationId;
  ContainerTree m_lessons;
  ContainerTree m_wordTypes;
  std::string m_containerEntry;
  bool m_entryHasTranslations = false;
};

}  // namespace

std::optional<KvtmlDocument> ReadKvtmlDocument(const std::filesystem::path& file,
                                               std::string& error) {
  KvtmlDocument document;
  KvtmlHandler handler(document);
  if (!ParseXmlFile(file, handler, error)) return std::nullopt;
  handler.Finish();
  for (KvtmlEntry& entry : document.entries)
    for (const auto& [id, translation] : entry.translations) {
      bool declared = false;
      for (const KvtmlIdentifier& identifier : document.identifiers)
        declared |= identifier.id == id;
      if (!declared) entry.unknownIdentifiers.push_back(id);
    }
  return document;
}

}  // namespace verbaro::lessonimport

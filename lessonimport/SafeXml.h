#pragma once
// XML read with expat for files from anywhere: nothing outside the file is ever loaded (no
// external entities, no external DTD), and a document that declares entities is refused, so no
// expansion can grow without bound.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace verbaro::lessonimport {

struct XmlAttribute {
  std::string_view name;
  std::string_view value;
};

// What a reader of one XML format does with the elements. A callback that finds the document
// unusable calls Stop(): the parse ends there and ParseXmlFile reports the reason with its line.
class XmlHandler {
 public:
  virtual ~XmlHandler() = default;
  virtual void StartElement(std::string_view name, const std::vector<XmlAttribute>& attributes) = 0;
  virtual void EndElement(std::string_view name) = 0;
  virtual void Characters(std::string_view text) = 0;

  void Stop(std::string reason) {
    if (m_stopReason.empty()) m_stopReason = std::move(reason);
  }
  const std::string& StopReason() const { return m_stopReason; }

 private:
  std::string m_stopReason;
};

// False with `error` set (Russian, with the line where it applies) when the file cannot be read,
// is not well-formed XML, declares entities or names unknown ones, or a handler stopped.
bool ParseXmlFile(const std::filesystem::path& file, XmlHandler& handler, std::string& error);

}  // namespace verbaro::lessonimport

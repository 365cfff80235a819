#include "lessonimport/SafeXml.h"

#include <expat.h>

#include <memory>
#include <optional>

#include "lessonimport/SourceFile.h"

namespace verbaro::lessonimport {
namespace {

struct ParserDeleter {
  void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};
using Parser = std::unique_ptr<std::remove_pointer_t<XML_Parser>, ParserDeleter>;

struct Context {
  XML_Parser parser = nullptr;
  XmlHandler* handler = nullptr;
  std::string refusal;  // set by the hardening callbacks
  unsigned long refusalLine = 0;
  std::vector<XmlAttribute> attributes;
};

void StopHere(Context& context) {
  if (context.refusalLine == 0 && !context.handler->StopReason().empty())
    context.refusalLine = XML_GetCurrentLineNumber(context.parser);
  XML_StopParser(context.parser, XML_FALSE);
}

void Refuse(Context& context, std::string reason) {
  if (context.refusal.empty()) {
    context.refusal = std::move(reason);
    context.refusalLine = XML_GetCurrentLineNumber(context.parser);
  }
  XML_StopParser(context.parser, XML_FALSE);
}

void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
  auto& context = *static_cast<Context*>(data);
  context.attributes.clear();
  for (size_t i = 0; attributes[i] != nullptr && attributes[i + 1] != nullptr; i += 2)
    context.attributes.push_back({attributes[i], attributes[i + 1]});
  context.handler->StartElement(name, context.attributes);
  if (!context.handler->StopReason().empty()) StopHere(context);
}

void XMLCALL OnEnd(void* data, const XML_Char* name) {
  auto& context = *static_cast<Context*>(data);
  context.handler->EndElement(name);
  if (!context.handler->StopReason().empty()) StopHere(context);
}

void XMLCALL OnCharacters(void* data, const XML_Char* text, int length) {
  auto& context = *static_cast<Context*>(data);
  context.handler->Characters(std::string_view(text, static_cast<size_t>(length)));
  if (!context.handler->StopReason().empty()) StopHere(context);
}

void XMLCALL OnEntityDeclaration(void* data, const XML_Char* name, int, const XML_Char*, int,
                                 const XML_Char*, const XML_Char*, const XML_Char*,
                                 const XML_Char*) {
  Refuse(*static_cast<Context*>(data),
         std::string("файл объявляет сущность «") + name + "», а это не допускается");
}

void XMLCALL OnSkippedEntity(void* data, const XML_Char* name, int) {
  Refuse(*static_cast<Context*>(data), std::string("неизвестная сущность «&") + name + ";»");
}

std::string DescribeXmlError(XML_Error code) {
  switch (code) {
    case XML_ERROR_NO_ELEMENTS: return "файл пуст или оборван: документ XML не закончен";
    case XML_ERROR_SYNTAX: return "синтаксическая ошибка";
    case XML_ERROR_INVALID_TOKEN: return "недопустимый символ";
    case XML_ERROR_UNCLOSED_TOKEN: return "файл оборван внутри тега";
    case XML_ERROR_PARTIAL_CHAR: return "неполный символ";
    case XML_ERROR_TAG_MISMATCH: return "закрывающий тег не совпадает с открытым";
    case XML_ERROR_DUPLICATE_ATTRIBUTE: return "атрибут повторяется";
    case XML_ERROR_JUNK_AFTER_DOC_ELEMENT: return "лишний текст после корневого элемента";
    case XML_ERROR_UNDEFINED_ENTITY: return "неизвестная сущность";
    case XML_ERROR_RECURSIVE_ENTITY_REF: return "сущность ссылается сама на себя";
    case XML_ERROR_UNKNOWN_ENCODING: return "неизвестная кодировка";
    case XML_ERROR_INCORRECT_ENCODING: return "текст не в объявленной кодировке";
    case XML_ERROR_UNCLOSED_CDATA_SECTION: return "раздел CDATA не закрыт";
    case XML_ERROR_BAD_CHAR_REF: return "ссылка на недопустимый символ";
    case XML_ERROR_MISPLACED_XML_PI: return "объявление XML не в начале файла";
    default: return std::string("ошибка разбора (") + XML_ErrorString(code) + ")";
  }
}

}  // namespace

bool ParseXmlFile(const std::filesystem::path& file, XmlHandler& handler, std::string& error) {
  const std::optional<std::string> bytes = ReadFileWithin(file, kMaxSourceFileBytes, error);
  if (!bytes) return false;

  const Parser parser(XML_ParserCreate(nullptr));
  if (!parser) {
    error = "не хватает памяти для разбора XML";
    return false;
  }
  Context context;
  context.parser = parser.get();
  context.handler = &handler;
  XML_SetUserData(parser.get(), &context);
  XML_SetElementHandler(parser.get(), OnStart, OnEnd);
  XML_SetCharacterDataHandler(parser.get(), OnCharacters);
  XML_SetEntityDeclHandler(parser.get(), OnEntityDeclaration);
  XML_SetSkippedEntityHandler(parser.get(), OnSkippedEntity);
  // No external entity handler and no parameter entities: a DOCTYPE's SYSTEM or PUBLIC
  // identifier is never fetched.
  XML_SetParamEntityParsing(parser.get(), XML_PARAM_ENTITY_PARSING_NEVER);

  // In slices, so that a stop takes effect before the rest is looked at.
  constexpr size_t kSlice = 1 << 20;
  size_t offset = 0;
  XML_Status status = XML_STATUS_OK;
  do {
    const size_t length = std::min(kSlice, bytes->size() - offset);
    const bool last = offset + length == bytes->size();
    status = XML_Parse(parser.get(), bytes->data() + offset, static_cast<int>(length), last);
    offset += length;
    if (status != XML_STATUS_OK || last) break;
  } while (true);

  if (!context.refusal.empty()) {
    error = "строка " + std::to_string(context.refusalLine) + ": " + context.refusal;
    return false;
  }
  if (!handler.StopReason().empty()) {
    error = context.refusalLine > 0
                ? "строка " + std::to_string(context.refusalLine) + ": " + handler.StopReason()
                : handler.StopReason();
    return false;
  }
  if (status != XML_STATUS_OK) {
    error = "ошибка XML в строке " + std::to_string(XML_GetCurrentLineNumber(parser.get())) + ": " +
            DescribeXmlError(XML_GetErrorCode(parser.get()));
    return false;
  }
  return true;
}

}  // namespace verbaro::lessonimport

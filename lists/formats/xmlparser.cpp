#include "lists/formats/xmlparser.h"

#include "lists/formats/tagvalues.h"

#include <libxml/SAX2.h>
#include <libxml/entities.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <cstdarg>
#include <cstdio>
#include <algorithm>
#include <optional>
#include <vector>

namespace lists {

struct XmlParser::Context {
    XmlParser& owner;
    XmlEvents& events;
    xmlParserCtxtPtr parser = nullptr;
    std::vector<XmlEvents::Attribute> attributes; // a tag's, reused
    QByteArrayView uri;                           // the last element's namespace, measured
    std::optional<XmlError> error;                // the first fault
    TagValues tags{XmlParser::kAttributeLimit};   // the bytes ahead of the parser
    qsizetype expanded = 0;                       // bytes of entity text expanded so far
    int declarations = 0;                         // attribute declarations so far
    QString library{}; // what libxml2 wrote outside its reports to us, the first message
};

namespace {

// The parser is given no more than this at once, so that what it holds unread
// is checked against the limit as it grows.
constexpr int kPiece = 64 * 1024;

QByteArrayView view(const xmlChar* text)
{
    return text ? QByteArrayView(reinterpret_cast<const char*>(text)) : QByteArrayView();
}

QByteArrayView view(const xmlChar* begin, const xmlChar* end)
{
    return {reinterpret_cast<const char*>(begin), end - begin};
}

QString limitText()
{
    return QStringLiteral("a tag, comment or declaration longer than %1 MB")
        .arg(XmlParser::kMarkupLimit / 1'000'000);
}

QString megabytes(qsizetype bytes) { return QString::number(bytes / 1'000'000); }

// libxml2's own text, but for its limits, which are named.
QString faultText(int code, const char* message)
{
    const QString text = QString::fromUtf8(message ? message : "").trimmed();
    if (code == XML_ERR_ENTITY_LOOP)
        return QStringLiteral("entities that expand without bound (refused)");
    if (code == XML_ERR_NO_MEMORY)
        return QStringLiteral("Out of memory");
    if (text.endsWith(QLatin1String("Huge input lookup")) || text.contains(QLatin1String("too big")) ||
        text.contains(QLatin1String("too long")))
        return limitText();
    return text.isEmpty() ? QStringLiteral("not well-formed (error %1)").arg(code) : text;
}

// libxml2 writes some messages through its global handlers rather than the
// parser's (the conversion of the declared encoding, its memory): while a
// block is parsed they are kept for the fault they come with.
thread_local QString* parsing = nullptr;

void keepMessage(QString text)
{
    if (parsing && !parsing->endsWith(QLatin1Char('\n')) && parsing->size() < 500)
        *parsing += text;
}

void libraryReport(void*, xmlErrorPtr error)
{
    if (error && error->level >= XML_ERR_ERROR && error->message)
        keepMessage(QString::fromUtf8(error->message));
}

void libraryText(void*, const char* format, ...)
{
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    keepMessage(QString::fromUtf8(text));
}

class RoutedMessages {
public:
    explicit RoutedMessages(QString& into)
        : generic_(xmlGenericError)
        , genericContext_(xmlGenericErrorContext)
        , structured_(xmlStructuredError)
        , structuredContext_(xmlStructuredErrorContext)
        , outer_(std::exchange(parsing, &into))
    {
        xmlSetGenericErrorFunc(nullptr, libraryText);
        xmlSetStructuredErrorFunc(nullptr, libraryReport);
    }
    ~RoutedMessages()
    {
        xmlSetGenericErrorFunc(genericContext_, generic_);
        xmlSetStructuredErrorFunc(structuredContext_, structured_);
        parsing = outer_;
    }
    RoutedMessages(const RoutedMessages&) = delete;
    RoutedMessages& operator=(const RoutedMessages&) = delete;

private:
    xmlGenericErrorFunc generic_;
    void* genericContext_;
    xmlStructuredErrorFunc structured_;
    void* structuredContext_;
    QString* outer_;
};

} // namespace

// libxml2 calls these with its parser context; the context's _private is ours.
struct XmlCallbacks {
    static XmlParser::Context& context(void* parser)
    {
        return *static_cast<XmlParser::Context*>(static_cast<xmlParserCtxtPtr>(parser)->_private);
    }

    // An exception must not cross libxml2's frames: it is kept and thrown
    // again once the block is parsed.
    template <typename Body> static void guarded(void* parser, Body body)
    {
        XmlParser::Context& c = context(parser);
        if (c.owner.stopped_)
            return;
        try {
            body(c);
        } catch (...) {
            c.owner.thrown_ = std::current_exception();
            c.owner.stop();
        }
    }

    static void fault(XmlParser::Context& c, QString what, qint64 line)
    {
        if (!c.error && !c.owner.stopped_)
            c.error = XmlError{std::move(what), line};
        c.owner.stop();
    }

    // Where the document's parser is. An entity's text is parsed by a
    // parser of its own, whose lines are the entity's: a fault in it is
    // told at the reference.
    static qint64 line(XmlParser::Context& c) { return xmlSAX2GetLineNumber(c.parser); }

    // A bound reached: the parser stops at once. Its document is marked
    // broken too, or libxml2 2.9 would look the entity up again itself, and
    // load an external one.
    static void refuse(void* parser, QString what)
    {
        const auto own = static_cast<xmlParserCtxtPtr>(parser);
        XmlParser::Context& c = context(parser);
        fault(c, std::move(what), line(c));
        own->wellFormed = 0;
        if (own != c.parser)
            xmlStopParser(own);
    }

    static void startElement(void* parser, const xmlChar* local, const xmlChar*,
                             const xmlChar* uri, int, const xmlChar**, int count, int,
                             const xmlChar** values)
    {
        guarded(parser, [&](XmlParser::Context& c) {
            if (!withinBounds(parser, c))
                return;
            c.attributes.clear();
            // Five pointers an attribute: local name, prefix, URI, value, value end.
            for (const xmlChar** a = values; a != values + 5 * count; a += 5)
                c.attributes.push_back({view(a[0]), view(a[2]), view(a[3], a[4])});
            // The parser keeps one copy of each URI: the same address, the same text.
            if (reinterpret_cast<const char*>(uri) != c.uri.data())
                c.uri = view(uri);
            c.events.start(view(local), c.uri, c.attributes, xmlSAX2GetLineNumber(parser));
        });
    }

    // The element's depth counts those open around the entity it may come from.
    static bool withinBounds(void* parser, XmlParser::Context& c)
    {
        const auto own = static_cast<xmlParserCtxtPtr>(parser);
        const int open = c.parser->nameNr + (own != c.parser ? own->nameNr : 0);
        if (open >= XmlParser::kDepthLimit) {
            refuse(parser, QStringLiteral("nested too deeply (more than %1 levels)")
                               .arg(XmlParser::kDepthLimit));
            return false;
        }
        // Each prefix is looked up among all the declarations in scope.
        if (own->nsNr / 2 > XmlParser::kAttributeLimit) {
            refuse(parser, QStringLiteral("more than %1 namespace declarations in scope")
                               .arg(XmlParser::kAttributeLimit));
            return false;
        }
        return true;
    }

    // libxml2 adds every declared default to each element of its name: their
    // number is bounded as a tag's attributes are.
    static void attributeDeclared(void* parser, const xmlChar*, const xmlChar*, int, int,
                                  const xmlChar*, xmlEnumerationPtr values)
    {
        xmlFreeEnumeration(values);
        if (++context(parser).declarations > XmlParser::kAttributeLimit)
            refuse(parser, QStringLiteral("more than %1 attribute declarations")
                               .arg(XmlParser::kAttributeLimit));
    }

    static void endElement(void* parser, const xmlChar*, const xmlChar*, const xmlChar*)
    {
        guarded(parser, [](XmlParser::Context& c) { c.events.end(); });
    }

    static void characters(void* parser, const xmlChar* text, int size)
    {
        guarded(parser, [&](XmlParser::Context& c) {
            c.events.text(view(text, text + size));
        });
    }

    // Only entities declared in the document's own subset are expanded, up
    // to kExpansionLimit bytes in all: an external one is never loaded.
    static xmlEntityPtr entity(void* context_, const xmlChar* name)
    {
        const auto parser = static_cast<xmlParserCtxtPtr>(context_);
        if (parser->inSubset == 0)
            if (const xmlEntityPtr predefined = xmlGetPredefinedEntity(name))
                return predefined;
        const xmlEntityPtr found = parser->myDoc ? xmlGetDocEntity(parser->myDoc, name) : nullptr;
        // Outside the subset each lookup is a reference about to be expanded.
        return internal(parser, found, XML_INTERNAL_GENERAL_ENTITY, parser->inSubset == 0);
    }

    static xmlEntityPtr parameterEntity(void* parser, const xmlChar* name)
    {
        return internal(static_cast<xmlParserCtxtPtr>(parser),
                        xmlSAX2GetParameterEntity(parser, name), XML_INTERNAL_PARAMETER_ENTITY,
                        true);
    }

    static xmlEntityPtr internal(xmlParserCtxtPtr parser, xmlEntityPtr found, int type,
                                 bool expanded)
    {
        if (!found || found->etype == XML_INTERNAL_PREDEFINED_ENTITY)
            return found;
        if (found->etype != type) {
            refuse(parser, QStringLiteral("a reference to the external entity \"%1\", which is "
                                          "not read")
                               .arg(QString::fromUtf8(view(found->name))));
            return nullptr;
        }
        XmlParser::Context& c = context(parser);
        if (expanded && (c.expanded += found->length) > XmlParser::kExpansionLimit) {
            refuse(parser, QStringLiteral("entities that expand to more than %1 MB")
                               .arg(megabytes(XmlParser::kExpansionLimit)));
            return nullptr;
        }
        return found;
    }

    static void error(void* parser, xmlErrorPtr error)
    {
        // Warnings leave the document whole; an error of the namespaces does not.
        if (error->level < XML_ERR_ERROR)
            return;
        // libxml2 tells a document cut inside its elements as "extra content".
        const auto own = static_cast<xmlParserCtxtPtr>(parser);
        XmlParser::Context& c = context(parser);
        const bool cut = error->code == XML_ERR_DOCUMENT_END && own->nameNr > 0;
        fault(c,
              cut ? QStringLiteral("the document ends early")
                  : faultText(error->code, error->message),
              own == c.parser ? error->line : line(c));
    }

    static xmlSAXHandler handler()
    {
        xmlSAXHandler h{};
        h.initialized = XML_SAX2_MAGIC;
        // The document and its internal subset are kept for the entity declarations.
        h.startDocument = xmlSAX2StartDocument;
        h.internalSubset = xmlSAX2InternalSubset;
        h.entityDecl = xmlSAX2EntityDecl;
        h.attributeDecl = attributeDeclared;
        h.getEntity = entity;
        h.getParameterEntity = parameterEntity;
        h.startElementNs = startElement;
        h.endElementNs = endElement;
        h.characters = characters;
        // White space is text like any other: libxml2 need not judge it.
        h.ignorableWhitespace = characters;
        h.serror = error;
        return h;
    }
};

XmlParser::XmlParser(XmlEvents& events)
{
    static const xmlSAXHandler handler = XmlCallbacks::handler();
    xmlInitParser();
    context_.reset(new Context{*this, events, nullptr, {}, {}, std::nullopt});
    xmlSAXHandler copy = handler;
    context_->parser = xmlCreatePushParserCtxt(&copy, nullptr, nullptr, 0, nullptr);
    if (!context_->parser)
        throw std::bad_alloc();
    // No XML_PARSE_HUGE: libxml2 keeps its limits of names, texts and entity expansion.
    xmlCtxtUseOptions(context_->parser, XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_NOCDATA);
    context_->parser->_private = context_.get();
}

XmlParser::~XmlParser()
{
    if (context_->parser->myDoc)
        xmlFreeDoc(context_->parser->myDoc);
    xmlFreeParserCtxt(context_->parser);
}

void XmlParser::feed(QByteArrayView bytes)
{
    while (!bytes.isEmpty() && !stopped_) {
        const QByteArrayView next = bytes.first(std::min<qsizetype>(kPiece, bytes.size()));
        bytes = bytes.sliced(next.size());
        piece(next, false);
    }
}

void XmlParser::finish()
{
    if (!stopped_)
        piece({}, true);
}

void XmlParser::stop()
{
    if (!std::exchange(stopped_, true))
        xmlStopParser(context_->parser);
}

// libxml2 2.9's push parser misses a "]]>" in text when a block ends between
// its bytes: a "]" or "]]" that ends a block is held until the next byte
// comes, so the parser always sees what follows it.
void XmlParser::piece(QByteArrayView bytes, bool last)
{
    if (const qsizetype at = context_->tags.pass(bytes); at >= 0)
        return refuseTag(bytes, at);
    QByteArray joined;
    if (!held_.isEmpty()) {
        joined = std::exchange(held_, QByteArray());
        bytes = joined.append(bytes);
    }
    qsizetype hold = 0;
    while (!last && hold < 2 && hold < bytes.size() && bytes[bytes.size() - 1 - hold] == ']')
        ++hold;
    held_ = bytes.last(hold).toByteArray();
    parse(bytes.chopped(hold), last);
}

// The bytes before the tag are parsed, then the tag is refused at its line.
void XmlParser::refuseTag(QByteArrayView bytes, qsizetype at)
{
    const qsizetype start = context_->tags.tagStart();
    if (start >= 0) {
        parse(std::exchange(held_, QByteArray()).append(bytes.first(start)), false);
        if (stopped_)
            return;
    }
    const xmlParserInputPtr input = context_->parser->input;
    const auto lines = [](const char* from, const char* to) { return qint64(std::count(from, to, '\n')); };
    const qint64 line = xmlSAX2GetLineNumber(context_->parser) +
                        (input ? lines(reinterpret_cast<const char*>(input->cur),
                                       reinterpret_cast<const char*>(input->end))
                               : 0) +
                        lines(bytes.data() + std::max<qsizetype>(start, 0), bytes.data() + at);
    context_->error = XmlError{
        QStringLiteral("a tag with more than %1 attributes").arg(kAttributeLimit), line};
    stop();
    check(0);
}

void XmlParser::startTagsOnly()
{
    // The parser's handler is its own copy, made when it was created.
    xmlSAXHandler& handler = *context_->parser->sax;
    handler.characters = nullptr;
    handler.ignorableWhitespace = nullptr;
    handler.endElementNs = nullptr;
}

qint64 XmlParser::line() const { return xmlSAX2GetLineNumber(context_->parser); }

void XmlParser::parse(QByteArrayView bytes, bool last)
{
    int code = 0;
    {
        const RoutedMessages routed(context_->library);
        code = xmlParseChunk(context_->parser, bytes.data(), int(bytes.size()), last ? 1 : 0);
    }
    check(code);
}

void XmlParser::check(int code)
{
    if (thrown_)
        std::rethrow_exception(std::exchange(thrown_, nullptr));
    // Some faults stop the parser without a report (the entity amplification check).
    if (code != 0 && !context_->error && !stopped_) {
        const QString library = context_->library.trimmed();
        context_->error = XmlError{library.isEmpty() ? faultText(code, nullptr) : library,
                                   xmlSAX2GetLineNumber(context_->parser)};
    }
    if (context_->error)
        throw XmlError(*std::exchange(context_->error, std::nullopt));
    const xmlParserInputPtr input = context_->parser->input;
    if (!stopped_ && input && input->end - input->cur > kMarkupLimit) {
        stop();
        throw XmlError{limitText(), qint64(input->line)};
    }
}

} // namespace lists

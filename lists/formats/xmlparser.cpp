#include "lists/formats/xmlparser.h"

#include <libxml/SAX2.h>
#include <libxml/entities.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>

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

// libxml2's own text, but for its limits, which are named.
QString faultText(int code, const char* message)
{
    const QString text = QString::fromUtf8(message ? message : "").trimmed();
    if (code == XML_ERR_ENTITY_LOOP)
        return QStringLiteral("entities that expand without bound (refused)");
    if (text.endsWith(QLatin1String("Huge input lookup")) || text.contains(QLatin1String("too big")) ||
        text.contains(QLatin1String("too long")))
        return limitText();
    return text.isEmpty() ? QStringLiteral("not well-formed (error %1)").arg(code) : text;
}

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

    static void startElement(void* parser, const xmlChar* local, const xmlChar*,
                             const xmlChar* uri, int, const xmlChar**, int count, int,
                             const xmlChar** values)
    {
        guarded(parser, [&](XmlParser::Context& c) {
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

    // Only entities declared in the document's own subset are expanded: an
    // external one is never loaded.
    static xmlEntityPtr entity(void* context_, const xmlChar* name)
    {
        const auto parser = static_cast<xmlParserCtxtPtr>(context_);
        if (parser->inSubset == 0)
            if (const xmlEntityPtr predefined = xmlGetPredefinedEntity(name))
                return predefined;
        const xmlEntityPtr found = parser->myDoc ? xmlGetDocEntity(parser->myDoc, name) : nullptr;
        return internal(parser, found, XML_INTERNAL_GENERAL_ENTITY);
    }

    static xmlEntityPtr parameterEntity(void* parser, const xmlChar* name)
    {
        return internal(static_cast<xmlParserCtxtPtr>(parser),
                        xmlSAX2GetParameterEntity(parser, name), XML_INTERNAL_PARAMETER_ENTITY);
    }

    static xmlEntityPtr internal(xmlParserCtxtPtr parser, xmlEntityPtr found, int type)
    {
        if (!found || found->etype == type)
            return found;
        fault(context(parser),
              QStringLiteral("a reference to the external entity \"%1\", which is not read")
                  .arg(QString::fromUtf8(view(found->name))),
              xmlSAX2GetLineNumber(parser));
        return nullptr;
    }

    static void error(void* parser, xmlErrorPtr error)
    {
        // Warnings leave the document whole; an error of the namespaces does not.
        if (error->level < XML_ERR_ERROR)
            return;
        // libxml2 tells a document cut inside its elements as "extra content".
        const bool cut = error->code == XML_ERR_DOCUMENT_END &&
                         static_cast<xmlParserCtxtPtr>(parser)->nameNr > 0;
        fault(context(parser),
              cut ? QStringLiteral("the document ends early")
                  : faultText(error->code, error->message),
              error->line);
    }

    static xmlSAXHandler handler()
    {
        xmlSAXHandler h{};
        h.initialized = XML_SAX2_MAGIC;
        // The document and its internal subset are kept for the entity declarations.
        h.startDocument = xmlSAX2StartDocument;
        h.internalSubset = xmlSAX2InternalSubset;
        h.entityDecl = xmlSAX2EntityDecl;
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
    for (qsizetype at = 0; at < bytes.size() && !stopped_; at += kPiece)
        parse(bytes.data() + at, int(std::min<qsizetype>(kPiece, bytes.size() - at)), false);
}

void XmlParser::finish()
{
    if (!stopped_)
        parse(nullptr, 0, true);
}

void XmlParser::stop() { stopped_ = true; }

void XmlParser::startTagsOnly()
{
    // The parser's handler is its own copy, made when it was created.
    xmlSAXHandler& handler = *context_->parser->sax;
    handler.characters = nullptr;
    handler.ignorableWhitespace = nullptr;
    handler.endElementNs = nullptr;
}

qint64 XmlParser::line() const { return xmlSAX2GetLineNumber(context_->parser); }

void XmlParser::parse(const char* bytes, int size, bool last)
{
    check(xmlParseChunk(context_->parser, bytes, size, last ? 1 : 0));
}

void XmlParser::check(int code)
{
    if (thrown_)
        std::rethrow_exception(std::exchange(thrown_, nullptr));
    // Some faults stop the parser without a report (the entity amplification check).
    if (code != 0 && !context_->error && !stopped_)
        context_->error = XmlError{faultText(code, nullptr), xmlSAX2GetLineNumber(context_->parser)};
    if (context_->error)
        throw XmlError(*std::exchange(context_->error, std::nullopt));
    const xmlParserInputPtr input = context_->parser->input;
    if (!stopped_ && input && input->end - input->cur > kMarkupLimit) {
        stop();
        throw XmlError{limitText(), qint64(input->line)};
    }
}

} // namespace lists

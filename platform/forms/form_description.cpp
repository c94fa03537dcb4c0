#include "platform/forms/form_description.h"

#include "platform/forms/detail/controls.h"
#include "platform/forms/detail/form_impl.h"
#include "platform/forms/detail/runtime.h"
#include "platform/forms/runtime_error.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <limits>
#include <map>

namespace qm::forms {

namespace {

using Files = std::function<std::optional<std::vector<std::uint8_t>>(std::string_view)>;

[[noreturn]] void fault(std::string_view source, const std::string& where, const std::string& what)
{
    Raise(errUnableToLoad, std::string(source) + (where.empty() ? "" : ": " + where) + ": " + what);
}

// The member of `o` named `key` without regard to case; a name given twice is a fault.
std::optional<QJsonValue> member(
    const QJsonObject& o, std::string_view key, std::string_view source, const std::string& where)
{
    std::optional<QJsonValue> found;
    for (auto it = o.begin(); it != o.end(); ++it) {
        if (keyEquals(it.key().toStdString(), key)) {
            if (found)
                fault(source, where, "\"" + std::string(key) + "\" is given twice");
            found = it.value();
        }
    }
    return found;
}

std::int64_t wholeNumber(const QJsonValue& v, std::string_view source, const std::string& where)
{
    const double d = v.toDouble();
    if (!v.isDouble() || std::floor(d) != d || std::abs(d) > 4294967295.0)
        fault(source, where, "expected a whole number");
    return std::int64_t(d);
}

PropValue parseValue(
    const QJsonValue& v, std::string_view source, const std::string& where, const Files& files)
{
    if (v.isString())
        return v.toString().toStdString();
    if (v.isBool())
        return v.toBool();
    if (v.isDouble()) {
        const std::int64_t n = wholeNumber(v, source, where);
        if (n < std::numeric_limits<std::int32_t>::min()
            || n > std::numeric_limits<std::int32_t>::max())
            fault(source, where, "a 32-bit integer is out of range");
        return std::int32_t(n);
    }
    if (!v.isObject() || v.toObject().size() != 1)
        fault(source, where, "expected a string, Boolean, number or a typed value");
    const QJsonObject o = v.toObject();
    const std::string tag = o.begin().key().toStdString();
    const QJsonValue inner = o.begin().value();
    if (keyEquals(tag, "int16")) {
        const std::int64_t n = wholeNumber(inner, source, where);
        if (n < -32768 || n > 32767)
            fault(source, where, "a 16-bit integer is out of range");
        return std::int16_t(n);
    }
    if (keyEquals(tag, "color")) {
        if (inner.isString()) {
            const QString s = inner.toString().trimmed();
            bool ok = false;
            const qulonglong n = s.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
                ? s.mid(2).toULongLong(&ok, 16)
                : s.toULongLong(&ok, 10);
            if (!ok || n > 0xFFFFFFFFull)
                fault(source, where, "a colour must be a 32-bit number such as \"0x8000000F\"");
            return ColorValue { std::uint32_t(n) };
        }
        const std::int64_t n = wholeNumber(inner, source, where);
        if (n < 0)
            return ColorValue { std::uint32_t(std::int32_t(n)) };
        return ColorValue { std::uint32_t(n) };
    }
    if (keyEquals(tag, "font")) {
        if (!inner.isObject())
            fault(source, where, "a font is an object");
        const QJsonObject f = inner.toObject();
        StdFont font;
        for (auto it = f.begin(); it != f.end(); ++it) {
            const std::string k = it.key().toStdString();
            const QJsonValue fv = it.value();
            auto need = [&](bool ok) {
                if (!ok)
                    fault(source, where, "font field \"" + k + "\" has the wrong type");
            };
            if (keyEquals(k, "name")) {
                need(fv.isString());
                font.Name = fv.toString().toStdString();
            } else if (keyEquals(k, "size")) {
                need(fv.isDouble() && fv.toDouble() > 0);
                font.Size = fv.toDouble();
            } else if (keyEquals(k, "weight")) {
                font.Weight = int(wholeNumber(fv, source, where));
            } else if (keyEquals(k, "charset")) {
                font.Charset = int(wholeNumber(fv, source, where));
            } else if (keyEquals(k, "italic")) {
                need(fv.isBool());
                font.Italic = fv.toBool();
            } else if (keyEquals(k, "underline")) {
                need(fv.isBool());
                font.Underline = fv.toBool();
            } else if (keyEquals(k, "strikethrough")) {
                need(fv.isBool());
                font.Strikethrough = fv.toBool();
            } else {
                fault(source, where, "unknown font field \"" + k + "\"");
            }
        }
        return font;
    }
    if (keyEquals(tag, "picture")) {
        PictureData p;
        if (inner.isString()) {
            const QByteArray raw = QByteArray::fromBase64(
                inner.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
            if (raw.isEmpty() && !inner.toString().isEmpty())
                fault(source, where, "picture data is not base64");
            p.Bytes.assign(raw.begin(), raw.end());
            return p;
        }
        if (inner.isObject()) {
            auto file = member(inner.toObject(), "file", source, where);
            if (!file || !file->isString())
                fault(source, where, "a picture file reference is {\"file\": \"name\"}");
            const std::string name = file->toString().toStdString();
            std::optional<std::vector<std::uint8_t>> bytes = files ? files(name) : std::nullopt;
            if (!bytes)
                fault(source, where, "picture file \"" + name + "\" not found");
            p.Bytes = std::move(*bytes);
            return p;
        }
        fault(source, where, "a picture is base64 text or {\"file\": \"name\"}");
    }
    fault(source, where, "unknown value type \"" + tag + "\"");
}

PropertyBag parseBag(
    const QJsonValue& v, std::string_view source, const std::string& where, const Files& files)
{
    if (!v.isObject())
        fault(source, where, "expected an object of properties");
    PropertyBag bag;
    const QJsonObject o = v.toObject();
    for (auto it = o.begin(); it != o.end(); ++it) {
        const std::string key = it.key().toStdString();
        if (bag.Contains(key))
            fault(source, where, "\"" + key + "\" is given twice");
        bag.WriteProperty(key, parseValue(it.value(), source, where + "." + key, files));
    }
    return bag;
}

QJsonValue toJsonValue(const PropValue& v)
{
    struct Visitor {
        QJsonValue operator()(const std::string& s) const { return QString::fromStdString(s); }
        QJsonValue operator()(std::int16_t n) const { return QJsonObject { { "int16", int(n) } }; }
        QJsonValue operator()(std::int32_t n) const { return n; }
        QJsonValue operator()(bool b) const { return b; }
        QJsonValue operator()(const ColorValue& c) const
        {
            return QJsonObject { { "color",
                QStringLiteral("0x%1")
                    .arg(c.Value, 8, 16, QLatin1Char('0'))
                    .toUpper()
                    .replace(QLatin1String("0X"), QLatin1String("0x")) } };
        }
        QJsonValue operator()(const StdFont& f) const
        {
            return QJsonObject { { "font",
                QJsonObject { { "name", QString::fromStdString(f.Name) }, { "size", f.Size },
                    { "weight", f.Weight }, { "charset", f.Charset }, { "italic", f.Italic },
                    { "underline", f.Underline }, { "strikethrough", f.Strikethrough } } } };
        }
        QJsonValue operator()(const PictureData& p) const
        {
            const QByteArray raw(
                reinterpret_cast<const char*>(p.Bytes.data()), qsizetype(p.Bytes.size()));
            return QJsonObject { { "picture", QString::fromLatin1(raw.toBase64()) } };
        }
    };
    return std::visit(Visitor {}, v);
}

QJsonObject toJsonObject(const PropertyBag& bag)
{
    QJsonObject o;
    for (const auto& e : bag.Entries())
        o.insert(QString::fromStdString(e.Key), toJsonValue(e.Value));
    return o;
}

// Descriptions: registered ones first, then those compiled in as resources under :/qm_forms.
struct Registry {
    std::map<std::string, FormDescription> registered; // lower-case name
    std::map<std::string, FormDescription> compiled;
    std::map<std::string, UserControlFactory> userTypes;
};
Registry& registry()
{
    static Registry r;
    return r;
}

std::string lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return out;
}

const QString kResourceDir = QStringLiteral(":/qm_forms");

std::optional<std::vector<std::uint8_t>> resourceFile(std::string_view name)
{
    const QDir dir(kResourceDir);
    for (const QString& entry : dir.entryList(QDir::Files)) {
        if (!keyEquals(entry.toStdString(), name))
            continue;
        QFile f(dir.filePath(entry));
        if (!f.open(QIODevice::ReadOnly))
            return std::nullopt;
        const QByteArray data = f.readAll();
        return std::vector<std::uint8_t>(data.begin(), data.end());
    }
    return std::nullopt;
}

} // namespace

FormDescription FormDescription::parse(
    std::string_view json, std::string_view source, const Files& files)
{
    QJsonParseError err {};
    const QJsonDocument doc
        = QJsonDocument::fromJson(QByteArray(json.data(), qsizetype(json.size())), &err);
    if (doc.isNull())
        fault(source, "offset " + std::to_string(err.offset), err.errorString().toStdString());
    if (!doc.isObject())
        fault(source, "", "a form description is a JSON object");
    const QJsonObject root = doc.object();
    FormDescription d;
    for (auto it = root.begin(); it != root.end(); ++it) {
        const std::string k = it.key().toStdString();
        if (!keyEquals(k, "Form") && !keyEquals(k, "Settings") && !keyEquals(k, "Controls"))
            fault(source, "", "unknown member \"" + k + "\"");
    }
    auto name = member(root, "Form", source, "");
    if (!name || !name->isString() || name->toString().isEmpty())
        fault(source, "", "\"Form\" must name the form");
    d.Name = name->toString().toStdString();
    if (auto s = member(root, "Settings", source, ""))
        d.Settings = parseBag(*s, source, "Settings", files);
    if (auto cs = member(root, "Controls", source, "")) {
        if (!cs->isArray())
            fault(source, "", "\"Controls\" is an array");
        for (const QJsonValue& cv : cs->toArray()) {
            if (!cv.isObject())
                fault(source, "Controls", "each control is an object");
            const QJsonObject co = cv.toObject();
            ControlDescription c;
            auto cname = member(co, "Name", source, "Controls");
            auto ctype = member(co, "Type", source, "Controls");
            if (!cname || !cname->isString() || cname->toString().isEmpty())
                fault(source, "Controls", "a control without \"Name\"");
            c.Name = cname->toString().toStdString();
            const std::string where = "control " + c.Name;
            if (!ctype || !ctype->isString() || ctype->toString().isEmpty())
                fault(source, where, "\"Type\" is missing");
            c.Type = ctype->toString().toStdString();
            for (auto it = co.begin(); it != co.end(); ++it) {
                const std::string k = it.key().toStdString();
                if (!keyEquals(k, "Name") && !keyEquals(k, "Type") && !keyEquals(k, "Settings")
                    && !keyEquals(k, "Properties"))
                    fault(source, where, "unknown member \"" + k + "\"");
            }
            if (auto s = member(co, "Settings", source, where))
                c.Settings = parseBag(*s, source, where + ".Settings", files);
            if (auto p = member(co, "Properties", source, where))
                c.Properties = parseBag(*p, source, where + ".Properties", files);
            if (d.control(c.Name))
                fault(source, where, "the name is used twice");
            d.Controls.push_back(std::move(c));
        }
    }
    return d;
}

std::string FormDescription::toJson() const
{
    QJsonObject root;
    root.insert("Form", QString::fromStdString(Name));
    root.insert("Settings", toJsonObject(Settings));
    QJsonArray cs;
    for (const auto& c : Controls) {
        QJsonObject co { { "Name", QString::fromStdString(c.Name) },
            { "Type", QString::fromStdString(c.Type) }, { "Settings", toJsonObject(c.Settings) } };
        if (c.Properties)
            co.insert("Properties", toJsonObject(*c.Properties));
        cs.append(co);
    }
    root.insert("Controls", cs);
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

const ControlDescription* FormDescription::control(std::string_view name) const
{
    for (const auto& c : Controls)
        if (keyEquals(c.Name, name))
            return &c;
    return nullptr;
}

ControlDescription* FormDescription::control(std::string_view name)
{
    for (auto& c : Controls)
        if (keyEquals(c.Name, name))
            return &c;
    return nullptr;
}

bool ControlDescription::operator==(const ControlDescription& o) const
{
    return keyEquals(Name, o.Name) && Type == o.Type && Settings.sameContents(o.Settings)
        && Properties.has_value() == o.Properties.has_value()
        && (!Properties || Properties->sameContents(*o.Properties));
}

bool FormDescription::operator==(const FormDescription& o) const
{
    return keyEquals(Name, o.Name) && Settings.sameContents(o.Settings) && Controls == o.Controls;
}

const FormDescription& formDescription(std::string_view name)
{
    detail::ensureRuntime();
    Registry& r = registry();
    const std::string key = lower(name);
    if (auto it = r.registered.find(key); it != r.registered.end())
        return it->second;
    if (auto it = r.compiled.find(key); it != r.compiled.end())
        return it->second;
    const std::string file = std::string(name) + ".json";
    auto bytes = resourceFile(file);
    if (!bytes)
        Raise(errUnableToLoad, "no form description \"" + file + "\"");
    FormDescription d = FormDescription::parse(
        std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), file,
        resourceFile);
    if (!keyEquals(d.Name, name))
        Raise(errUnableToLoad, file + " describes \"" + d.Name + "\"");
    return r.compiled.emplace(key, std::move(d)).first->second;
}

void registerFormDescription(std::string_view json, std::string_view source)
{
    FormDescription d = FormDescription::parse(json, source, resourceFile);
    registry().registered[lower(d.Name)] = std::move(d);
}

std::vector<std::string> formDescriptionNames()
{
    detail::ensureRuntime();
    std::vector<std::string> names;
    for (const auto& [k, d] : registry().registered)
        names.push_back(d.Name);
    for (const QString& entry :
        QDir(kResourceDir).entryList({ QStringLiteral("*.json") }, QDir::Files)) {
        const std::string n = entry.chopped(5).toStdString();
        if (!registry().registered.count(lower(n)))
            names.push_back(n);
    }
    return names;
}

void registerUserControlType(std::string type, UserControlFactory factory)
{
    registry().userTypes[lower(type)] = std::move(factory);
}

UserControlFactory detail::userControlFactory(std::string_view type)
{
    auto& t = registry().userTypes;
    auto it = t.find(lower(type));
    return it == t.end() ? UserControlFactory {} : it->second;
}

// ---- Designer -------------------------------------------------------------------------

class Designer::Impl {
public:
    explicit Impl(FormDescription d)
        : form(nullptr, d, false)
    {
        for (auto& c : form.controls)
            c->shown();
        form.focusChanged();
    }
    detail::FormImpl form;
};

Designer::Designer(FormDescription description)
    : d_(std::make_unique<Impl>(std::move(description)))
{
}

Designer::~Designer() = default;

UserControl& Designer::Place(
    std::string type, std::string name, double left, double top, double width, double height)
{
    detail::FormImpl& f = d_->form;
    if (f.control(name))
        Raise(errInvalidProcedureCall, "a control named " + name + " exists already");
    UserControlFactory factory = detail::userControlFactory(type);
    if (!factory)
        Raise(errUnableToLoad, "unknown control type \"" + type + "\"");
    ControlDescription c;
    c.Name = name;
    c.Type = type;
    c.Settings.WriteProperty("Left", std::int32_t(left));
    c.Settings.WriteProperty("Top", std::int32_t(top));
    c.Settings.WriteProperty("Width", std::int32_t(width));
    c.Settings.WriteProperty("Height", std::int32_t(height));
    c.Settings.WriteProperty("TabIndex", std::int16_t(f.controls.size()));
    f.description.Controls.push_back(c);
    auto impl = std::make_unique<detail::UserControlImpl>(f, c, nullptr, factory());
    detail::UserControlImpl& u = *impl;
    f.controls.push_back(std::move(impl));
    u.create(nullptr);
    u.shown();
    f.modified = true;
    return u.instance();
}

UserControl* Designer::userControl(std::string_view name) const
{
    auto* u = dynamic_cast<detail::UserControlImpl*>(d_->form.control(name));
    return u ? &u->instance() : nullptr;
}

bool Designer::Modified() const
{
    return d_->form.modified;
}

FormDescription Designer::Save()
{
    detail::FormImpl& f = d_->form;
    FormDescription out = f.description;
    for (auto& c : out.Controls) {
        auto* u = dynamic_cast<detail::UserControlImpl*>(f.control(c.Name));
        if (!u)
            continue;
        c.Properties = u->save();
    }
    f.modified = false;
    return out;
}

WindowId Designer::hWnd() const
{
    return d_->form.id;
}

} // namespace qm::forms

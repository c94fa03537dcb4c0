#include "platform/forms/detail/drag_drop.h"

#include "platform/forms/runtime_error.h"

#include <QBuffer>
#include <QImage>
#include <QUrl>

namespace qm::forms::detail {

namespace {

const QString kTextType = QStringLiteral("text/plain");
const QString kUtf8TextType = QStringLiteral("text/plain;charset=utf-8");
const QString kRtfTypes[] = { QStringLiteral("text/rtf"), QStringLiteral("application/rtf") };
const QString kUriListType = QStringLiteral("text/uri-list");
const QString kImageTypes[]
    = { QStringLiteral("image/png"), QStringLiteral("image/bmp"), QStringLiteral("image/jpeg") };
const QString kQtImageType = QStringLiteral("application/x-qt-image");
// Formats without a common MIME type travel between our own programs only.
const QString kOwnFormatPrefix = QStringLiteral("application/x-quillmere-format-");

bool isPicture(std::int16_t format)
{
    return format == vbCFBitmap || format == vbCFDIB;
}

// The MIME type of a picture's bytes (the file kinds a picture may hold).
QString pictureType(const PictureData& p)
{
    const auto& b = p.Bytes;
    if (b.size() >= 4 && b[0] == 0x89 && b[1] == 'P' && b[2] == 'N' && b[3] == 'G')
        return kImageTypes[0];
    if (b.size() >= 2 && b[0] == 'B' && b[1] == 'M')
        return kImageTypes[1];
    if (b.size() >= 2 && b[0] == 0xFF && b[1] == 0xD8)
        return kImageTypes[2];
    return QStringLiteral("image/x-icon");
}

QByteArray bytesOf(const std::string& s)
{
    return QByteArray(s.data(), qsizetype(s.size()));
}

PictureData pictureOf(const QByteArray& bytes)
{
    PictureData p;
    p.Bytes.assign(bytes.begin(), bytes.end());
    return p;
}

QByteArray uriList(const std::vector<std::string>& files)
{
    QByteArray out;
    for (const auto& f : files)
        out += QUrl::fromLocalFile(QString::fromStdString(f)).toEncoded() + "\r\n";
    return out;
}

std::optional<DataObject::Value> readForeign(const QMimeData* mime, std::int16_t format)
{
    if (format == vbCFText && mime->hasText())
        return DataObject::Value(mime->text().toStdString());
    if (format == vbCFRTF) {
        for (const QString& t : kRtfTypes)
            if (mime->hasFormat(t))
                return DataObject::Value(mime->data(t).toStdString());
        return std::nullopt;
    }
    if (isPicture(format)) {
        for (const QString& t : kImageTypes)
            if (mime->hasFormat(t))
                return DataObject::Value(pictureOf(mime->data(t)));
        if (mime->hasImage()) {
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            if (qvariant_cast<QImage>(mime->imageData()).save(&buffer, "PNG"))
                return DataObject::Value(pictureOf(png));
        }
        return std::nullopt;
    }
    const QString own = kOwnFormatPrefix + QString::number(format);
    if (mime->hasFormat(own))
        return DataObject::Value(mime->data(own).toStdString());
    return std::nullopt;
}

} // namespace

std::vector<std::int16_t> DataObjectAccess::formats(const DataObject& data)
{
    std::vector<std::int16_t> out;
    for (const auto& e : data.entries_)
        out.push_back(e.format);
    if (!data.files_.empty())
        out.push_back(vbCFFiles);
    return out;
}

void DataObjectAccess::seal(DataObject& data, std::function<void(std::int16_t)> supply)
{
    data.access_ = DataObject::Access::Read;
    data.supply_ = std::move(supply);
}

void DataObjectAccess::bindForeign(DataObject& data, const QMimeData* mime)
{
    data.access_ = DataObject::Access::Read;
    DataObject::Foreign f;
    if (mime->hasText())
        f.formats.push_back(vbCFText);
    if (mime->hasFormat(kRtfTypes[0]) || mime->hasFormat(kRtfTypes[1]))
        f.formats.push_back(vbCFRTF);
    bool picture = mime->hasImage();
    for (const QString& t : kImageTypes)
        picture = picture || mime->hasFormat(t);
    if (picture) {
        f.formats.push_back(vbCFDIB);
        f.formats.push_back(vbCFBitmap);
    }
    if (mime->hasUrls())
        for (const QUrl& u : mime->urls())
            if (u.isLocalFile())
                f.files.push_back(u.toLocalFile().toStdString());
    if (!f.files.empty())
        f.formats.push_back(vbCFFiles);
    for (const QString& t : mime->formats())
        if (t.startsWith(kOwnFormatPrefix))
            if (const auto n = formatOfMime(t))
                f.formats.push_back(*n);
    data.foreign_ = std::move(f);
    rebindForeign(data, mime);
}

void DataObjectAccess::rebindForeign(DataObject& data, const QMimeData* mime)
{
    if (data.foreign_ && mime)
        data.foreign_->read = [mime](std::int16_t format) { return readForeign(mime, format); };
}

void DataObjectAccess::unbindForeign(DataObject& data)
{
    if (data.foreign_)
        data.foreign_->read = nullptr;
}

QStringList mimeTypesOf(std::int16_t format, const DataObject::Value* value)
{
    switch (format) {
    case vbCFText:
        return { kUtf8TextType, kTextType };
    case vbCFRTF:
        return { kRtfTypes[0], kRtfTypes[1] };
    case vbCFFiles:
        return { kUriListType };
    case vbCFBitmap:
    case vbCFDIB:
        if (value && std::holds_alternative<PictureData>(*value))
            return { pictureType(std::get<PictureData>(*value)), kQtImageType };
        return { kImageTypes[0], kQtImageType };
    default:
        return { kOwnFormatPrefix + QString::number(format) };
    }
}

std::optional<std::int16_t> formatOfMime(const QString& mimeType)
{
    if (mimeType == kTextType || mimeType == kUtf8TextType)
        return vbCFText;
    if (mimeType == kRtfTypes[0] || mimeType == kRtfTypes[1])
        return vbCFRTF;
    if (mimeType == kUriListType)
        return vbCFFiles;
    if (mimeType.startsWith(QStringLiteral("image/")) || mimeType == kQtImageType)
        return vbCFDIB;
    if (mimeType.startsWith(kOwnFormatPrefix)) {
        bool ok = false;
        const int n = mimeType.mid(kOwnFormatPrefix.size()).toInt(&ok);
        if (ok && n != 0 && n >= INT16_MIN && n <= INT16_MAX)
            return std::int16_t(n);
    }
    return std::nullopt;
}

std::int32_t effectsOf(Qt::DropActions actions)
{
    std::int32_t e = vbDropEffectNone;
    if (actions & Qt::CopyAction)
        e |= vbDropEffectCopy;
    if (actions & Qt::MoveAction)
        e |= vbDropEffectMove;
    return e;
}

Qt::DropActions actionsOf(std::int32_t effects)
{
    Qt::DropActions a;
    if (effects & vbDropEffectCopy)
        a |= Qt::CopyAction;
    if (effects & vbDropEffectMove)
        a |= Qt::MoveAction;
    return a;
}

Qt::DropAction actionOf(std::int32_t effect, Qt::DropActions possible)
{
    // A target that leaves both effects takes the move when the source allows it.
    if ((effect & vbDropEffectMove) && (possible & Qt::MoveAction))
        return Qt::MoveAction;
    if ((effect & vbDropEffectCopy) && (possible & Qt::CopyAction))
        return Qt::CopyAction;
    return Qt::IgnoreAction;
}

DragMime::DragMime(std::shared_ptr<DataObject> data)
    : data_(std::move(data))
{
}

QStringList DragMime::formats() const
{
    QStringList out;
    for (std::int16_t f : DataObjectAccess::formats(*data_))
        for (const QString& t : mimeTypesOf(f))
            if (!out.contains(t))
                out.push_back(t);
    return out;
}

bool DragMime::hasFormat(const QString& mimeType) const
{
    return formats().contains(mimeType);
}

QVariant DragMime::retrieveData(const QString& mimeType, QMetaType type) const
{
    (void)type;
    const auto format = formatOfMime(mimeType);
    if (!format || !hasFormat(mimeType))
        return {};
    try {
        if (*format == vbCFFiles)
            return uriList(data_->Files());
        std::int16_t f = *format;
        if (f == vbCFDIB && !data_->GetFormat(vbCFDIB))
            f = vbCFBitmap;
        const DataObject::Value v = data_->GetData(f);
        if (const auto* s = std::get_if<std::string>(&v))
            return bytesOf(*s);
        const auto& picture = std::get<PictureData>(v);
        const QByteArray bytes(
            reinterpret_cast<const char*>(picture.Bytes.data()), qsizetype(picture.Bytes.size()));
        if (mimeType == kQtImageType)
            return QImage::fromData(bytes);
        return bytes;
    } catch (...) {
        // The source could not give the data (its OLESetData left it out): the target gets none.
        return {};
    }
}

std::shared_ptr<DataObject> dataObjectFor(const QMimeData* mime)
{
    if (const auto* ours = dynamic_cast<const DragMime*>(mime))
        return ours->object();
    auto data = std::make_shared<DataObject>();
    if (mime)
        DataObjectAccess::bindForeign(*data, mime);
    return data;
}

} // namespace qm::forms::detail

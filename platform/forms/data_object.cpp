#include "platform/forms/runtime_error.h"
#include "platform/forms/user_control.h"

#include <algorithm>

namespace qm::forms {

namespace {

bool isPictureFormat(std::int16_t format)
{
    return format == vbCFBitmap || format == vbCFDIB;
}

void checkFormat(std::int16_t format)
{
    if (format == 0)
        Raise(errInvalidFormat);
}

} // namespace

DataObject::Entry* DataObject::find(std::int16_t format)
{
    auto it = std::find_if(
        entries_.begin(), entries_.end(), [&](const Entry& e) { return e.format == format; });
    return it == entries_.end() ? nullptr : &*it;
}

const DataObject::Entry* DataObject::find(std::int16_t format) const
{
    return const_cast<DataObject*>(this)->find(format);
}

void DataObject::requireBuild() const
{
    if (access_ != Access::Build)
        Raise(errFormatsFixed);
}

void DataObject::Clear()
{
    requireBuild();
    entries_.clear();
    files_.clear();
}

bool DataObject::GetFormat(std::int16_t format) const
{
    if (foreign_)
        return std::find(foreign_->formats.begin(), foreign_->formats.end(), format)
            != foreign_->formats.end();
    if (format == vbCFFiles)
        return !files_.empty();
    return find(format) != nullptr;
}

DataObject::Value DataObject::GetData(std::int16_t format)
{
    checkFormat(format);
    if (format == vbCFFiles || !GetFormat(format))
        Raise(errFormatMismatch);
    if (foreign_) {
        std::optional<Value> v = foreign_->read ? foreign_->read(format) : std::nullopt;
        if (!v)
            Raise(errFormatMismatch);
        return *v;
    }
    if (!find(format)->value && supply_) {
        // The source gives a declared format only when somebody asks for it.
        const Access was = access_;
        access_ = Access::Supply;
        supply_(format);
        access_ = was;
    }
    const Entry* e = find(format);
    if (!e || !e->value)
        Raise(errDataNotSupplied);
    return *e->value;
}

void DataObject::SetData(Value value, std::int16_t format)
{
    checkFormat(format);
    if (format == vbCFFiles
        || isPictureFormat(format) != std::holds_alternative<PictureData>(value))
        Raise(errFormatMismatch);
    Entry* e = find(format);
    if (access_ == Access::Supply && e) {
        e->value = std::move(value);
        return;
    }
    requireBuild();
    if (e)
        e->value = std::move(value);
    else
        entries_.push_back({ format, std::move(value) });
}

void DataObject::SetData(std::int16_t format)
{
    checkFormat(format);
    requireBuild();
    if (format == vbCFFiles)
        Raise(errFormatMismatch); // file lists are given with AddFile
    if (!find(format))
        entries_.push_back({ format, std::nullopt });
}

const std::vector<std::string>& DataObject::Files() const
{
    return foreign_ ? foreign_->files : files_;
}

void DataObject::AddFile(std::string path)
{
    requireBuild();
    files_.push_back(std::move(path));
}

} // namespace qm::forms

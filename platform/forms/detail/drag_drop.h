#pragma once
// Internal to platform/forms: the drag-and-drop data object on the toolkit's drags. A drag that
// one of our controls starts carries its DataObject inside a DragMime, so a control of ours
// that takes the drop reads the very same object (every format, declared ones included); other
// programs see the usual MIME types. A drag from another program is read through its MIME data.
#include "platform/forms/user_control.h"

#include <QMimeData>
#include <memory>
#include <optional>

namespace qm::forms::detail {

struct DataObjectAccess {
    // Formats offered, in the order declared (vbCFFiles when files were added).
    static std::vector<std::int16_t> formats(const DataObject& data);
    // The drag has started: targets read, the source supplies declared formats through `supply`.
    static void seal(DataObject& data, std::function<void(std::int16_t)> supply);
    // A view of another program's drag: formats and files now, data while `mime` lives.
    static void bindForeign(DataObject& data, const QMimeData* mime);
    // The MIME data of the next event of the same drag (the formats stay as first seen).
    static void rebindForeign(DataObject& data, const QMimeData* mime);
    static void unbindForeign(DataObject& data); // the MIME data is gone
};

// MIME types that carry a format (the first is the preferred one), and back.
QStringList mimeTypesOf(std::int16_t format, const DataObject::Value* value = nullptr);
std::optional<std::int16_t> formatOfMime(const QString& mimeType);

// Drop effects and toolkit actions.
std::int32_t effectsOf(Qt::DropActions actions);
Qt::DropActions actionsOf(std::int32_t effects);
// The action a target's Effect asks for among the `possible` ones; IgnoreAction refuses.
Qt::DropAction actionOf(std::int32_t effect, Qt::DropActions possible);

// The MIME data of a drag one of our controls started.
class DragMime : public QMimeData {
public:
    explicit DragMime(std::shared_ptr<DataObject> data);
    const std::shared_ptr<DataObject>& object() const { return data_; }
    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    std::shared_ptr<DataObject> data_;
};

// The data object a target sees for the MIME data of a drag.
std::shared_ptr<DataObject> dataObjectFor(const QMimeData* mime);

} // namespace qm::forms::detail

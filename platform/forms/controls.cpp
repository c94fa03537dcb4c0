#include "platform/forms/detail/controls.h"

#include "platform/forms/detail/runtime.h"
#include "platform/forms/runtime_error.h"
#include "platform/raster/text_layout.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <cmath>

namespace qm::forms::detail {

namespace {

std::string crlfToLf(std::string s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n')
            continue;
        out += s[i] == '\r' ? '\n' : s[i];
    }
    return out;
}

std::string lfToCrlf(const std::string& s)
{
    std::string out;
    for (char c : s) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

// The character the caption's "&" marks, or "" for none.
std::string mnemonicOf(const std::string& caption)
{
    const auto p = gfx::parsePrefix(caption);
    return p.underline < 0 ? std::string() : p.text.substr(std::size_t(p.underline), 1);
}

// Labels and images: drawn by the form's runtime, clicked with the left button.
class DrawnWidget : public QWidget {
public:
    DrawnWidget(QWidget* parent, ControlImpl* control)
        : QWidget(parent)
        , control_(control)
    {
    }

protected:
    // Draws the flat one-pixel border when asked; returns the area inside it.
    QRect border(QPainter& p, bool bordered) const
    {
        if (!bordered)
            return rect();
        p.setPen(QColor(0, 0, 0));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        return rect().adjusted(1, 1, -1, -1);
    }
    void mousePressEvent(QMouseEvent* e) override { pressed_ = e->button() == Qt::LeftButton; }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        const bool click
            = pressed_ && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint());
        pressed_ = false;
        if (click && control_->form.userMode)
            control_->raiseClick();
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton && control_->form.userMode)
            control_->raiseDblClick();
    }

private:
    ControlImpl* control_;
    bool pressed_ = false;
};

class LabelWidget : public DrawnWidget {
public:
    LabelWidget(QWidget* parent, LabelImpl* label)
        : DrawnWidget(parent, label)
        , label_(label)
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const LabelImpl& l = *label_;
        if (l.backStyle != 0)
            p.fillRect(rect(), toQColor(l.backColor));
        const QRect text = border(p, l.borderStyle != 0);
        p.setPen(toQColor(l.foreColor));
        p.setFont(toQFont(l.font));
        int align = Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic;
        align |= l.alignment == 1 ? Qt::AlignRight
            : l.alignment == 2    ? Qt::AlignHCenter
                                  : Qt::AlignLeft;
        p.drawText(text, align, QString::fromStdString(crlfToLf(l.caption)));
    }

private:
    LabelImpl* label_;
};

class ImageWidget : public DrawnWidget {
public:
    ImageWidget(QWidget* parent, ImageImpl* image)
        : DrawnWidget(parent, image)
        , image_(image)
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const ImageImpl& im = *image_;
        const QRect inner = border(p, im.borderStyle != 0);
        if (im.image.isNull())
            return;
        if (im.stretch)
            p.drawImage(inner, im.image);
        else
            p.drawImage(inner.topLeft(), im.image);
    }

private:
    ImageImpl* image_;
};

} // namespace

// ---- ControlImpl ----------------------------------------------------------------------

ControlImpl::ControlImpl(FormImpl& f, const ControlDescription& desc, Control* m)
    : form(f)
    , member(m)
    , name(desc.Name)
    , type(desc.Type)
{
    const PropertyBag& s = desc.Settings;
    tabIndex = s.ReadInt16("TabIndex", 0);
    tabStop = s.ReadBool("TabStop", true);
    tag = s.ReadString("Tag", "");
    left = s.ReadInt32("Left", 0);
    top = s.ReadInt32("Top", 0);
    width = s.ReadInt32("Width", 0);
    height = s.ReadInt32("Height", 0);
}

ControlImpl::~ControlImpl() = default;

void ControlImpl::applyGeometry()
{
    if (QWidget* w = widget())
        w->setGeometry(
            twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

void ControlImpl::setEnabled(bool e)
{
    if (QWidget* w = widget())
        w->setEnabled(e);
}

bool ControlImpl::enabled() const
{
    QWidget* w = widget();
    return w ? w->isEnabled() : true;
}

void ControlImpl::raiseClick()
{
    if (member && member->Click)
        form.fire(member->Click);
}

void ControlImpl::raiseDblClick()
{
    if (member && member->DblClick)
        form.fire(member->DblClick);
}

// ---- Label ----------------------------------------------------------------------------

LabelImpl::LabelImpl(FormImpl& f, const ControlDescription& desc, Control* m)
    : ControlImpl(f, desc, m)
    , font(f.font)
{
    const PropertyBag& s = desc.Settings;
    caption = s.ReadString("Caption", "");
    foreColor = s.ReadColor("ForeColor", f.foreColor);
    backColor = s.ReadColor("BackColor", f.backColor);
    backStyle = s.ReadInt16("BackStyle", 1);
    borderStyle = s.ReadInt16("BorderStyle", 0);
    alignment = s.ReadInt16("Alignment", 0);
    if (auto fnt = s.ReadFont("Font"))
        font = *fnt;
    auto* w = new LabelWidget(f.window, this);
    w_ = w;
    w->setAttribute(Qt::WA_NoSystemBackground);
    w->setVisible(s.ReadBool("Visible", true));
    w->setEnabled(s.ReadBool("Enabled", true));
    setPointer(s.ReadInt16("MousePointer", 0), s.ReadPicture("MouseIcon"));
    applyGeometry();
}

void LabelImpl::setPointer(std::int16_t pointer, const PictureData& icon)
{
    mousePointer = pointer;
    mouseIcon = icon;
    if (auto c = cursorFor(pointer, icon))
        w_->setCursor(*c);
    else
        w_->unsetCursor();
}

std::string LabelImpl::accessKeys() const
{
    return mnemonicOf(caption);
}

void LabelImpl::accessKey(std::int16_t)
{
    // A label's access key gives the focus to the next control in the tab order.
    for (ControlImpl* c : form.tabOrder()) {
        if (c->tabIndex > tabIndex && c->widget()->isVisible() && c->enabled()) {
            c->widget()->setFocus(Qt::ShortcutFocusReason);
            return;
        }
    }
}

// ---- TextBox --------------------------------------------------------------------------

TextBoxImpl::TextBoxImpl(FormImpl& f, const ControlDescription& desc, Control* m)
    : ControlImpl(f, desc, m)
    , font(f.font)
{
    const PropertyBag& s = desc.Settings;
    multiLine = s.ReadBool("MultiLine", false);
    locked = s.ReadBool("Locked", false);
    foreColor = s.ReadColor("ForeColor", 0x80000008);
    backColor = s.ReadColor("BackColor", 0x80000005);
    if (auto fnt = s.ReadFont("Font"))
        font = *fnt;
    if (multiLine) {
        multi_ = new QPlainTextEdit(f.window);
        multi_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        multi_->setTabChangesFocus(true);
        w_ = multi_;
        QObject::connect(multi_, &QPlainTextEdit::textChanged, multi_, [this] {
            if (member)
                if (auto* tb = dynamic_cast<TextBox*>(member); tb && tb->Change)
                    form.fire(tb->Change);
        });
    } else {
        single_ = new QLineEdit(f.window);
        w_ = single_;
        QObject::connect(single_, &QLineEdit::textChanged, single_, [this] {
            if (member)
                if (auto* tb = dynamic_cast<TextBox*>(member); tb && tb->Change)
                    form.fire(tb->Change);
        });
    }
    w_->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    setText(s.ReadString("Text", ""));
    setColors();
    setFont();
    setLocked(locked);
    w_->setVisible(s.ReadBool("Visible", true));
    w_->setEnabled(s.ReadBool("Enabled", true));
    id = WindowRegistry::instance().add(w_);
    applyGeometry();
}

std::string TextBoxImpl::text() const
{
    if (multi_)
        return lfToCrlf(multi_->toPlainText().toStdString());
    return single_->text().toStdString();
}

void TextBoxImpl::setText(const std::string& t)
{
    if (multi_)
        multi_->setPlainText(QString::fromStdString(crlfToLf(t)));
    else
        single_->setText(QString::fromStdString(t));
}

void TextBoxImpl::setColors()
{
    QPalette pal = w_->palette();
    pal.setColor(QPalette::Base, toQColor(backColor));
    pal.setColor(QPalette::Text, toQColor(foreColor));
    w_->setPalette(pal);
}

void TextBoxImpl::setFont()
{
    w_->setFont(toQFont(font));
}

void TextBoxImpl::setLocked(bool l)
{
    locked = l;
    if (multi_)
        multi_->setReadOnly(l);
    else
        single_->setReadOnly(l);
}

// ---- Image ----------------------------------------------------------------------------

ImageImpl::ImageImpl(FormImpl& f, const ControlDescription& desc, Control* m)
    : ControlImpl(f, desc, m)
{
    const PropertyBag& s = desc.Settings;
    borderStyle = s.ReadInt16("BorderStyle", 0);
    stretch = s.ReadBool("Stretch", false);
    w_ = new ImageWidget(f.window, this);
    w_->setVisible(s.ReadBool("Visible", true));
    w_->setEnabled(s.ReadBool("Enabled", true));
    applyGeometry();
    setPicture(s.ReadPicture("Picture"));
}

void ImageImpl::setPicture(const PictureData& p)
{
    picture = p;
    image = QImage();
    if (!p.empty()) {
        QByteArray data(reinterpret_cast<const char*>(p.Bytes.data()), qsizetype(p.Bytes.size()));
        if (isIconOrCursor(p))
            data[2] = 1;
        image = QImage::fromData(data);
        if (image.isNull())
            Raise(errInvalidPicture, "Invalid picture: " + name);
    }
    fitToPicture();
    w_->update();
}

void ImageImpl::fitToPicture()
{
    // Without Stretch an image control takes the size of its picture (and border).
    if (stretch || image.isNull())
        return;
    const int b = borderStyle != 0 ? 2 : 0;
    w_->resize(image.width() + b, image.height() + b);
    width = pixelsToTwips(w_->width());
    height = pixelsToTwips(w_->height());
}

// ---- Native ---------------------------------------------------------------------------

NativeImpl::NativeImpl(
    FormImpl& f, const ControlDescription& desc, Control* m, std::unique_ptr<NativeControl> native)
    : ControlImpl(f, desc, m)
    , native_(std::move(native))
{
    w_ = native_->createWidget(f.window, desc.Settings);
    if (!w_)
        Raise(errUnableToLoad, "Unable to load control " + name);
    w_->setVisible(desc.Settings.ReadBool("Visible", true));
    if (native_->windowed())
        id = WindowRegistry::instance().add(w_);
    w_->setFocusPolicy(native_->canGetFocus() ? Qt::StrongFocus : Qt::NoFocus);
    applyGeometry();
}

void NativeImpl::ambientChanged(const char* what)
{
    if (std::string_view(what) == "BackColor")
        native_->ambientBackColor(form.backColor);
}

} // namespace qm::forms::detail

#pragma once
// Property syntax for forms and controls: `frmFine.Text1.Text = "..."` calls the owner's
// setter and reading the member calls its getter, so the owner can load itself on first use.
#include <string>
#include <type_traits>

namespace qm::forms {

template <class T, class Owner, T (Owner::*Get)() const, void (Owner::*Set)(const T&)> class Prop {
public:
    explicit Prop(Owner* owner)
        : owner_(owner)
    {
    }
    Prop(const Prop&) = delete;
    Prop& operator=(const Prop& other) { return *this = other.get(); }
    Prop& operator=(const T& value)
    {
        (owner_->*Set)(value);
        return *this;
    }
    T get() const { return (owner_->*Get)(); }
    operator T() const { return get(); }
    T operator()() const { return get(); }

    friend bool operator==(const Prop& p, const T& v) { return p.get() == v; }
    friend std::string operator+(
        const Prop& p, const std::string& s) requires std::is_same_v<T, std::string>
    {
        return p.get() + s;
    }
    friend std::string operator+(
        const std::string& s, const Prop& p) requires std::is_same_v<T, std::string>
    {
        return s + p.get();
    }

private:
    Owner* owner_;
};

} // namespace qm::forms

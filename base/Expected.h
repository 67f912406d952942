// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <utility>
#include <variant>

namespace zantrove {

// The error side of an Expected, so that a value and an error of the same type stay apart.
template <class E> struct Unexpected
{
    E error;
};
template <class E> Unexpected(E) -> Unexpected<E>;

// A value, or the reason there is none. Errors are values throughout the program: an Error where a
// file, process or the desktop failed, a UserMessage where the user must read it as it stands.
template <class T, class E> class [[nodiscard]] Expected
{
public:
    Expected(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    template <class F>
    Expected(Unexpected<F> failure) : m_state(std::in_place_index<1>, std::move(failure.error))
    {
    }

    bool has_value() const { return m_state.index() == 0; }
    explicit operator bool() const { return has_value(); }
    T& value() { return std::get<0>(m_state); }
    const T& value() const { return std::get<0>(m_state); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    const E& error() const { return std::get<1>(m_state); }

private:
    std::variant<T, E> m_state;
};

// Success without a value, or an error.
template <class E> class [[nodiscard]] Expected<void, E>
{
public:
    Expected() = default;
    template <class F> Expected(Unexpected<F> failure) : m_error(std::move(failure.error)), m_failed(true) {}

    bool has_value() const { return !m_failed; }
    explicit operator bool() const { return has_value(); }
    const E& error() const { return m_error; }

private:
    E m_error{};
    bool m_failed = false;
};

} // namespace zantrove

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <utility>
#include <vector>

namespace zantrove {

// Who is told of a model's changes. Window-free models tell their widgets through this.
template <class... Arguments> class Listeners
{
public:
    using Listener = std::function<void(Arguments...)>;

    // Returns an id for Remove.
    int Add(Listener listener)
    {
        const int id = m_nextId++;
        m_entries.emplace_back(id, std::move(listener));
        return id;
    }
    void Remove(int id)
    {
        std::erase_if(m_entries, [id](const auto& entry) { return entry.first == id; });
    }
    void Notify(const Arguments&... arguments) const
    {
        // A copy, so a listener may add or remove listeners while being told.
        const auto entries = m_entries;
        for (const auto& entry : entries)
            entry.second(arguments...);
    }

private:
    std::vector<std::pair<int, Listener>> m_entries;
    int m_nextId = 1;
};

} // namespace zantrove

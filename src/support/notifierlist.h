#pragma once

#include <functional>
#include <vector>

// Listeners of one kind of notice. A listener is added with a callback and
// removed by the handle it got; removing or adding during a notice is safe
// (the notice goes to the listeners present when it started and still there).
template <class... Args>
class TNotifierList {
public:
    using Callback = std::function<void(Args...)>;

    int Add(Callback callback)
    {
        m_entries.push_back({++m_lastHandle, std::move(callback)});
        return m_lastHandle;
    }

    void Remove(int handle)
    {
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
            if (it->handle == handle) {
                m_entries.erase(it);
                return;
            }
        }
    }

    int Count() const { return int(m_entries.size()); }

    void Notify(Args... args) const
    {
        std::vector<int> handles;
        handles.reserve(m_entries.size());
        for (const Entry& entry : m_entries)
            handles.push_back(entry.handle);
        for (int handle : handles) {
            // Look the entry up again: an earlier listener may have removed it.
            for (const Entry& entry : m_entries) {
                if (entry.handle == handle) {
                    Callback callback = entry.callback;
                    callback(args...);
                    break;
                }
            }
        }
    }

private:
    struct Entry {
        int handle;
        Callback callback;
    };
    std::vector<Entry> m_entries;
    int m_lastHandle = 0;
};

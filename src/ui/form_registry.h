#pragma once
// The one owner of the program's windows. A window is loaded (constructed, then its Form_Load
// run once) the first time anything refers to it through get<T>(); windows reach each other
// only through this registry.
#include <QPointer>
#include <QWidget>

#include <typeindex>
#include <unordered_map>

class FormRegistry
{
public:
    // The loaded instance, loading it hidden first when needed.
    template <class T> T* get()
    {
        if (T* loaded = ifLoaded<T>())
            return loaded;
        T* form = new T();
        m_forms[std::type_index(typeid(T))] = form;
        form->Form_Load();
        return form;
    }

    // The instance when it is loaded, else nullptr; never loads.
    template <class T> T* ifLoaded() const
    {
        auto it = m_forms.find(std::type_index(typeid(T)));
        if (it == m_forms.end() || it->second.isNull())
            return nullptr;
        return static_cast<T*>(it->second.data());
    }

    template <class T> bool isLoaded() const { return ifLoaded<T>() != nullptr; }

    // Shows the window modally (loading it first); returns when it is hidden or unloaded.
    template <class T> void showModal() { showModalWidget(get<T>()); }

    template <class T> void unload()
    {
        if (T* form = ifLoaded<T>())
            unload(form);
    }

    // Forgets the window, hides it and destroys it once control is back in the event loop.
    void unload(QWidget* form);
    // Unloads every window, hidden ones included.
    void unloadAll();

    static void showModalWidget(QWidget* widget);

private:
    std::unordered_map<std::type_index, QPointer<QWidget>> m_forms;
};

FormRegistry& forms();

#pragma once

#include <QObject>
#include <QString>

// The base of every component with published properties. Its published
// properties are Q_PROPERTYs, so that the component text stream can read and
// write them. The owner frees the component (QObject parent).
class TComponent : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName STORED false)

public:
    explicit TComponent(TComponent* owner = nullptr);

    QString Name() const { return objectName(); }
    void SetName(const QString& name) { setObjectName(name); }
    TComponent* Owner() const { return qobject_cast<TComponent*>(parent()); }

    // While a component's properties are read from a stream it is "loading";
    // EndLoading runs Loaded, where a component rebuilds what it derives.
    bool IsLoading() const { return m_loading > 0; }
    void BeginLoading() { ++m_loading; }
    void EndLoading();

    bool IsDesigning() const { return m_designing; }
    void SetDesigning(bool designing) { m_designing = designing; }

protected:
    virtual void Loaded() {}

private:
    int m_loading = 0;
    bool m_designing = false;
};

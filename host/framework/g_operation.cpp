#include "g_operation.h"

#include "../document/ig_document.h"
#include "../json/nexjson.h"
#include "g_docview.h"
#include "g_operationinterceptor.h"
#include "g_uicontext.h"

#include <QCoreApplication>
#include <QSet>
#include <QThread>
#include <QTimer>

namespace
{

// Heap-held so prototypes deleted during static destruction still find them.
QList<G_Operation*>& registry()
{
    static auto* list = new QList<G_Operation*>;
    return *list;
}

// Operations waiting for a deferred delete; an operation deleted meanwhile leaves the set
// so the timer never touches it again.
QSet<G_Operation*>& pendingDeletes()
{
    static auto* set = new QSet<G_Operation*>;
    return *set;
}

using Json = NexJson::Value;

Json toJson(const QVariant& v)
{
    const int type = v.userType();
    if (type == qMetaTypeId<CCA_Point>()) {
        const CCA_Point p = v.value<CCA_Point>();
        return Json{{"x", p.x}, {"y", p.y}};
    }
    if (type == qMetaTypeId<CCA_GPoint>()) {
        const CCA_GPoint p = v.value<CCA_GPoint>();
        return Json{{"x", double(p.x)}, {"y", double(p.y)}};
    }
    if (type == qMetaTypeId<CCA_GSize>()) {
        const CCA_GSize s = v.value<CCA_GSize>();
        return Json{{"width", double(s.width)}, {"height", double(s.height)}};
    }
    if (type == qMetaTypeId<CCA_GRect>())
        return NexJsonHelper::FromRect(v.value<CCA_GRect>())->Json();
    switch (type) {
    case QMetaType::Bool:
        return Json(v.toBool());
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return Json(v.toLongLong());
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return Json(v.toULongLong());
    case QMetaType::Float:
    case QMetaType::Double:
        return Json(v.toDouble());
    default:
        break;
    }
    if (v.canConvert<QString>())
        return Json(v.toString().toStdString());
    return Json();
}

bool hasOnly(const Json& object, std::initializer_list<const char*> keys)
{
    if (!object.is_object() || object.size() != keys.size())
        return false;
    for (const char* key : keys) {
        if (!object.contains(key) || !object[key].is_number())
            return false;
    }
    return true;
}

QVariant fromJson(const Json& value)
{
    if (value.is_boolean())
        return value.get<bool>();
    if (value.is_number_unsigned()) {
        const auto n = value.get<unsigned long long>();
        return n <= 0x7fffffffULL ? QVariant(int(n)) : QVariant(qulonglong(n));
    }
    if (value.is_number_integer()) {
        const auto n = value.get<long long>();
        return (n >= INT_MIN && n <= INT_MAX) ? QVariant(int(n)) : QVariant(qlonglong(n));
    }
    if (value.is_number_float())
        return value.get<double>();
    if (value.is_string())
        return QString::fromStdString(value.get<std::string>());
    if (hasOnly(value, {"x", "y"})) {
        if (value["x"].is_number_integer() && value["y"].is_number_integer())
            return QVariant::fromValue(CCA_Point(value["x"].get<int>(), value["y"].get<int>()));
        return QVariant::fromValue(CCA_GPoint(value["x"].get<float>(), value["y"].get<float>()));
    }
    if (hasOnly(value, {"width", "height"}))
        return QVariant::fromValue(
            CCA_GSize(value["width"].get<float>(), value["height"].get<float>()));
    if (hasOnly(value, {"Left", "Top", "Right", "Bottom"})) {
        CCA_GRect rect;
        if (NexJsonHelper::ToRect(std::make_shared<NexJson>(value), &rect))
            return QVariant::fromValue(rect);
    }
    if (value.is_null())
        return QVariant();
    return QString::fromStdString(value.dump()); // other structures travel as JSON text
}

} // namespace

G_Operation::G_Operation() = default;

G_Operation::~G_Operation()
{
    registry().removeAll(this);
    pendingDeletes().remove(this);
}

int G_Operation::AuthorityType()
{
    return 0;
}

QString G_Operation::ListenerParamsJson()
{
    Json object = Json::object();
    const QStringList keys = m_param.Keys();
    for (const QString& key : keys)
        object[key.toStdString()] = toJson(m_param.Value(key));
    return QString::fromStdString(object.dump());
}

bool G_Operation::ParseParamJson(const QString& json)
{
    const NexSharedPtr<NexJson> parsed = NexJsonFactory::ParseJsonString(json.toStdString());
    if (!parsed || !parsed->IsObject())
        return false;
    for (auto it = parsed->Json().begin(); it != parsed->Json().end(); ++it)
        m_param.AddVariant(QString::fromStdString(it.key()), fromJson(it.value()));
    return true;
}

void G_Operation::ResetParams()
{
    m_param.Clear();
}

void G_Operation::RegisterToGlobal()
{
    const QByteArray name = Name();
    QList<G_Operation*>& list = registry();
    for (int i = 0; i < list.size(); ++i) {
        if (list[i] == this)
            return;
        if (name == list[i]->Name()) {
            list[i] = this; // a later registration replaces the earlier prototype
            return;
        }
    }
    list.append(this);
}

G_Operation* G_Operation::FindGlobal(const char* name)
{
    if (!name)
        return nullptr;
    for (G_Operation* op : qAsConst(registry())) {
        if (qstrcmp(op->Name(), name) == 0)
            return op;
    }
    return nullptr;
}

QStringList G_Operation::GlobalNames()
{
    QStringList names;
    for (G_Operation* op : qAsConst(registry()))
        names.append(QString::fromUtf8(op->Name()));
    return names;
}

IG_Document* G_Operation::GDocument() const
{
    return m_view ? m_view->GDocument() : nullptr;
}

void G_Operation::SetContext(G_UIContext* context, G_DocView* view)
{
    m_context = context;
    m_view = view;
    if (!m_context && m_view)
        m_context = m_view->UIContext();
}

void G_Operation::CopyFrom(const G_Operation* other)
{
    if (!other || other == this)
        return;
    const QStringList keys = other->m_param.Keys();
    for (const QString& key : keys)
        m_param.AddVariant(key, other->m_param.Value(key));
    m_context = other->m_context;
    m_view = other->m_view;
}

int G_Operation::ExecuteAction()
{
    return run(false);
}

int G_Operation::PerformAction()
{
    return run(true);
}

int G_Operation::run(bool perform)
{
    m_result = 0;
    m_ran = false;
    if (perform && AuthorityType() == 2) {
        IG_Document* doc = GDocument();
        if (doc && doc->IsReadOnly()) {
            if (m_context)
                m_context->WarningMessageBox(
                    QCoreApplication::translate("G_Operation", "Read-only document"),
                    QCoreApplication::translate("G_Operation",
                                                "This document is read-only and cannot be "
                                                "changed. Save a copy to work on it."));
            return 0;
        }
    }
    ++m_running;
    QList<G_OperationInterceptor*> taking;
    QList<quint64> serials; // the ones that take part, not a later one at a reused address
    const QList<G_OperationInterceptor*> live = G_OperationInterceptor::Live();
    for (G_OperationInterceptor* interceptor : live) {
        if (G_OperationInterceptor::IsLive(interceptor) && interceptor->Intercepts(this)) {
            taking.append(interceptor);
            serials.append(interceptor->Serial());
        }
    }
    bool go = true;
    auto stillThere = [&](int i) {
        return G_OperationInterceptor::IsLive(taking[i]) && taking[i]->Serial() == serials[i];
    };
    for (int i = 0; i < taking.size(); ++i) {
        G_OperationInterceptor* interceptor = taking[i];
        if (stillThere(i) &&
            !interceptor->PrepareDataHandle(this, perform)) {
            go = false;
            break;
        }
    }
    if (go) {
        for (int i = 0; i < taking.size(); ++i) {
            G_OperationInterceptor* interceptor = taking[i];
            if (stillThere(i) &&
                !interceptor->BeforeDoActionHandle(this)) {
                go = false;
                break;
            }
        }
    }
    if (go) {
        m_result = DoAction();
        m_ran = true;
        for (int i = 0; i < taking.size(); ++i) {
            if (stillThere(i))
                taking[i]->AfterDoActionHandle(this);
        }
    }
    --m_running;
    const int result = m_result;
    G_UIContext* context = m_context;
    const QString name = QString::fromUtf8(Name());
    if (perform && go && context)
        context->notifyPerformed(name, result);
    if (m_running == 0 && m_deleteAfterRun) {
        delete this; // DeleteLater was asked while running without an event loop
    }
    return result;
}

void G_Operation::DeleteLater()
{
    if (m_deleteScheduled)
        return;
    m_deleteScheduled = true;
    QCoreApplication* app = QCoreApplication::instance();
    const bool loopRunning = app && QThread::currentThread()->loopLevel() > 0;
    if (!loopRunning) {
        if (m_running > 0)
            m_deleteAfterRun = true;
        else
            delete this;
        return;
    }
    pendingDeletes().insert(this);
    QTimer::singleShot(0, app, [this]() {
        if (!pendingDeletes().remove(this))
            return; // already deleted by someone else
        if (m_running > 0)
            m_deleteAfterRun = true;
        else
            delete this;
    });
}

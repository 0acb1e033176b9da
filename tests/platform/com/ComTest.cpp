#include "com/ComError.h"
#include "com/ComObject.h"
#include "com/ComRegistry.h"
#include "com/ConnectionPoint.h"
#include "com/Dispatch.h"

#include "TestSupport.h"
#include "registry/RegKey.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zar;

namespace {

constexpr IID kTestEvents{0x11111111, 0x2222, 0x3333, {1, 2, 3, 4, 5, 6, 7, 8}};

// A small event source: an object with one connection point.
class Source final : public IConnectionPointContainer {
  public:
    Source() : point_(*this, kTestEvents) {}
    HRESULT QueryInterface(const IID& iid, void** object) override {
        if (iid == IID_IUnknown || iid == IID_IConnectionPointContainer)
            return ProvideInterface(this, object);
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return refs_.increment(); }
    ULONG Release() override {
        const ULONG left = refs_.decrement();
        if (left == 0) delete this;
        return left;
    }
    HRESULT FindConnectionPoint(const IID& iid, IConnectionPoint** point) override {
        if (!(iid == kTestEvents)) return CONNECT_E_NOCONNECTION;
        *point = &point_;
        point_.AddRef();
        return S_OK;
    }
    ConnectionPoint& point() { return point_; }

  private:
    ~Source() = default;
    RefCount refs_;
    ConnectionPoint point_;
};

}  // namespace

TEST(ComTypesTest, GuidTextRoundTrip) {
    const GUID g{0x0123ABCD, 0x4567, 0x89EF, {0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10}};
    EXPECT_EQ(GuidToString(g), QStringLiteral("{0123ABCD-4567-89EF-FEDC-BA9876543210}"));
    GUID back;
    ASSERT_TRUE(GuidFromString(QStringLiteral("{0123abcd-4567-89ef-fedc-ba9876543210}"), back));
    EXPECT_EQ(back, g);
    for (const char* bad : {"", "0123ABCD-4567-89EF-FEDC-BA9876543210", "{0123ABCD-4567}",
                            "{0123ABCD-4567-89EF-FEDC-BA987654321G}"}) {
        GUID untouched = g;
        EXPECT_FALSE(GuidFromString(QString::fromLatin1(bad), untouched)) << bad;
        EXPECT_EQ(untouched, g);
    }
}

TEST(ComTypesTest, BstrKeepsLengthAndEmbeddedNulls) {
    const char16_t text[] = u"ab\0cd";
    BSTR b = SysAllocStringLen(text, 5);
    EXPECT_EQ(SysStringLen(b), 5u);
    EXPECT_EQ(FromBstr(b).size(), 5);
    SysFreeString(b);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_TRUE(FromBstr(nullptr).isEmpty());
    BStr owned(QStringLiteral("Zar_Plot"));
    EXPECT_EQ(owned.toQString(), QStringLiteral("Zar_Plot"));
}

TEST(ComErrorTest, CarriesResultCode) {
    try {
        CheckHr(E_INVALIDARG);
        FAIL() << "no exception";
    } catch (const CComError& e) {
        EXPECT_EQ(e.Error(), E_INVALIDARG);
        EXPECT_EQ(e.ErrorMessage(), QStringLiteral("The parameter is incorrect"));
    }
    EXPECT_EQ(CheckHr(S_FALSE), S_FALSE);
    EXPECT_EQ(static_cast<std::uint32_t>(E_FAIL), 0x80004005u);
    EXPECT_EQ(static_cast<std::uint32_t>(E_POINTER), 0x80004003u);
    EXPECT_EQ(static_cast<std::uint32_t>(CLASS_E_CLASSNOTAVAILABLE), 0x80040111u);
}

TEST(ConnectionPointTest, DeliversArgumentsInDeclarationOrder) {
    ComPtr<Source> source(new Source);
    ComPtr<EventSink> sink = EventSink::Create(kTestEvents);
    std::vector<double> seen;
    std::int32_t first = 0;
    sink->on(4, [&](const DispArgs& a) {
        ASSERT_EQ(a.count(), 3u);
        first = a.longAt(0);
        seen = {a.doubleAt(1), a.doubleAt(2)};
        // On the wire the last argument comes first.
        EXPECT_EQ(a.at(0).vt, VT_I4);
    });
    EventConnection connection;
    ASSERT_EQ(connection.connect(source.get(), kTestEvents, sink.get()), S_OK);
    source->point().Fire(4, {VariantLong(7), VariantDouble(1.5), VariantDouble(2.5)});
    EXPECT_EQ(first, 7);
    EXPECT_EQ(seen, (std::vector<double>{1.5, 2.5}));
    connection.disconnect();
    EXPECT_EQ(source->point().sinkCount(), 0u);
}

TEST(ConnectionPointTest, UnadviseInsideHandlerIsSafe) {
    ComPtr<Source> source(new Source);
    int calls1 = 0, calls2 = 0;
    auto connection1 = std::make_unique<EventConnection>();
    auto connection2 = std::make_unique<EventConnection>();
    {
        ComPtr<EventSink> sink1 = EventSink::Create(kTestEvents);
        ComPtr<EventSink> sink2 = EventSink::Create(kTestEvents);
        // The first sink drops both connections (and with them the last references to both
        // sinks) while the event is being delivered.
        sink1->on(1, [&](const DispArgs&) {
            ++calls1;
            connection1.reset();
            connection2.reset();
        });
        sink2->on(1, [&](const DispArgs&) { ++calls2; });
        ASSERT_EQ(connection1->connect(source.get(), kTestEvents, sink1.get()), S_OK);
        ASSERT_EQ(connection2->connect(source.get(), kTestEvents, sink2.get()), S_OK);
    }
    source->point().Fire(1, {});
    EXPECT_EQ(calls1, 1);
    EXPECT_EQ(calls2, 0);  // unadvised before its turn
    EXPECT_EQ(source->point().sinkCount(), 0u);
    source->point().Fire(1, {});
    EXPECT_EQ(calls1, 1);
}

TEST(ConnectionPointTest, RefusesUnknownInterfaceAndCookie) {
    ComPtr<Source> source(new Source);
    ComPtr<IConnectionPoint> point;
    EXPECT_EQ(source->FindConnectionPoint(IID_IDispatch, point.putTyped()), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(source->point().Unadvise(99), CONNECT_E_NOCONNECTION);
    std::uint32_t cookie = 5;
    EXPECT_EQ(source->point().Advise(nullptr, &cookie), E_POINTER);
    EXPECT_EQ(cookie, 0u);
}

namespace {

// A small dual interface to check dispatch by id.
class ICalc : public IDispatch {
  public:
    virtual HRESULT Add(std::int32_t a, double b) = 0;
    virtual HRESULT get_Total(double* value) = 0;
    virtual HRESULT put_Name(BSTR name) = 0;
    virtual HRESULT Fill(std::int32_t* values, std::int32_t count) = 0;
};

class Calc final : public ICalc {
  public:
    HRESULT QueryInterface(const IID&, void**) override { return E_NOINTERFACE; }
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
    HRESULT GetTypeInfoCount(std::uint32_t*) override { return E_NOTIMPL; }
    HRESULT GetTypeInfo(std::uint32_t, LCID, void**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(const IID&, LPCWSTR*, std::uint32_t, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT Invoke(DISPID, const IID&, LCID, std::uint16_t, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                   std::uint32_t*) override {
        return E_NOTIMPL;
    }
    HRESULT Add(std::int32_t a, double b) override {
        total += a + b;
        return S_OK;
    }
    HRESULT get_Total(double* value) override {
        *value = total;
        return S_OK;
    }
    HRESULT put_Name(BSTR n) override {
        name = FromBstr(n);
        return S_OK;
    }
    HRESULT Fill(std::int32_t* values, std::int32_t count) override {
        for (int i = 0; i < count; ++i) values[i] = i + 1;
        return S_OK;
    }
    double total = 0;
    QString name;
};

}  // namespace

TEST(DispatchTableTest, CallsMembersByIdWithConvertedArguments) {
    const DispatchTable<ICalc> table = DispatchTable<ICalc>()
                                           .method(1, "Add", &ICalc::Add)
                                           .get(2, "Total", &ICalc::get_Total)
                                           .put(3, "Name", &ICalc::put_Name)
                                           .method(4, "Fill", &ICalc::Fill);
    Calc calc;
    std::vector<VARIANT> args = {VariantDouble(0.5), VariantLong(2)};  // last first
    DISPPARAMS params{args.data(), nullptr, 2, 0};
    EXPECT_EQ(table.invoke(calc, 1, DISPATCH_METHOD, &params, nullptr), S_OK);
    EXPECT_DOUBLE_EQ(calc.total, 2.5);

    VARIANT result;
    DISPPARAMS none;
    EXPECT_EQ(table.invoke(calc, 2, DISPATCH_PROPERTYGET, &none, &result), S_OK);
    EXPECT_EQ(result.vt, VT_R8);
    EXPECT_DOUBLE_EQ(result.dblVal, 2.5);

    BStr name(QStringLiteral("spectrum"));
    std::vector<VARIANT> put = {VariantBstr(name.get())};
    DISPPARAMS putParams{put.data(), nullptr, 1, 0};
    EXPECT_EQ(table.invoke(calc, 3, DISPATCH_PROPERTYPUT, &putParams, nullptr), S_OK);
    EXPECT_EQ(calc.name, QStringLiteral("spectrum"));

    std::int32_t values[3] = {};
    std::vector<VARIANT> fill = {VariantLong(3), VariantPointer(values)};
    DISPPARAMS fillParams{fill.data(), nullptr, 2, 0};
    EXPECT_EQ(table.invoke(calc, 4, DISPATCH_METHOD, &fillParams, nullptr), S_OK);
    EXPECT_EQ(values[2], 3);

    EXPECT_EQ(table.invoke(calc, 1, DISPATCH_METHOD, &none, nullptr), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(table.invoke(calc, 9, DISPATCH_METHOD, &none, nullptr), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(table.invoke(calc, 2, DISPATCH_METHOD, &none, nullptr), DISP_E_MEMBERNOTFOUND);
    std::vector<VARIANT> wrong = {VariantDouble(1), VariantBstr(name.get())};
    DISPPARAMS wrongParams{wrong.data(), nullptr, 2, 0};
    EXPECT_EQ(table.invoke(calc, 1, DISPATCH_METHOD, &wrongParams, nullptr), DISP_E_TYPEMISMATCH);
    DISPID id = 0;
    EXPECT_EQ(table.idOfName(u"fill", &id), S_OK);
    EXPECT_EQ(id, 4);
}

TEST(ClassFactoryTest, LockServerAndObjectsCountAsLocks) {
    ComModule module;
    struct Obj final : IUnknown {
        explicit Obj(ComModule& m) : lock(m) {}
        HRESULT QueryInterface(const IID& iid, void** object) override {
            if (!(iid == IID_IUnknown)) return E_NOINTERFACE;
            return ProvideInterface(this, object);
        }
        ULONG AddRef() override { return refs.increment(); }
        ULONG Release() override {
            const ULONG left = refs.decrement();
            if (left == 0) delete this;
            return left;
        }
        ModuleLock lock;
        RefCount refs;
    };
    ComPtr<ClassFactory> factory =
        ClassFactory::Make(module, [&module](const IID& iid, void** object) {
            return CreateComObject<Obj>(iid, object, module);
        });
    EXPECT_EQ(module.GetLockCount(), 0);
    ComPtr<IUnknown> obj;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, obj.put()), S_OK);
    EXPECT_EQ(module.GetLockCount(), 1);
    ComPtr<IUnknown> none;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, none.put()), E_NOINTERFACE);
    EXPECT_EQ(module.GetLockCount(), 1);  // the refused object is gone again
    EXPECT_EQ(factory->CreateInstance(obj.get(), IID_IUnknown, none.put()), CLASS_E_NOAGGREGATION);
    factory->LockServer(1);
    EXPECT_EQ(module.GetLockCount(), 2);
    obj.reset();
    factory->LockServer(0);
    EXPECT_EQ(module.GetLockCount(), 0);
}

TEST(ComRegistryTest, UnknownProgIdAndClassFailWithRegistryErrors) {
    zartest::ScopedConfigDir config;
    ResetRegistryCache();
    CLSID clsid;
    EXPECT_EQ(CLSIDFromProgID(QStringLiteral("Nobody.Here.1"), &clsid), CO_E_CLASSSTRING);
    ComPtr<IUnknown> obj;
    EXPECT_EQ(CreateInstanceByProgID(QStringLiteral("Nobody.Here.1"), IID_IUnknown, obj.put()),
              CO_E_CLASSSTRING);
    EXPECT_EQ(CoCreateInstance(kTestEvents, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, obj.put()),
              REGDB_E_CLASSNOTREG);

    // Registered, but the library is not there.
    ClassRegistration entry;
    entry.clsid = kTestEvents;
    entry.description = QStringLiteral("Test Class");
    entry.progId = QStringLiteral("Test.Thing.1");
    entry.versionIndependentProgId = QStringLiteral("Test.Thing");
    entry.modulePath = config.path() + QStringLiteral("/missing.so");
    ASSERT_EQ(RegisterClassEntries(entry), S_OK);
    ASSERT_EQ(CLSIDFromProgID(QStringLiteral("Test.Thing.1"), &clsid), S_OK);
    EXPECT_EQ(clsid, kTestEvents);
    EXPECT_EQ(CreateInstanceByProgID(QStringLiteral("Test.Thing.1"), IID_IUnknown, obj.put()),
              CO_E_DLLNOTFOUND);
    ASSERT_EQ(UnregisterClassEntries(entry), S_OK);
    EXPECT_FALSE(RegKey::keyExists(RegRoot::ClassesRoot, QStringLiteral("Test.Thing.1")));
    EXPECT_TRUE(RegKey::keyExists(RegRoot::ClassesRoot, QStringLiteral("CLSID")));
    ResetRegistryCache();
}

// The server reached as the program reaches it: registered into a temporary registry and created
// by ProgID through the COM layer, from a test that does not link the library.

#include "com/ComError.h"
#include "com/ComRegistry.h"
#include "com/Dispatch.h"
#include "plot/typelib/ZarPlotTypes.h"

#include "TestSupport.h"
#include "registry/RegKey.h"

#include <QFileInfo>
#include <QLibrary>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

using namespace zar;
using namespace ZAR_PLOTLib;

namespace {

const QString kLibrary = QFileInfo(QStringLiteral(ZAR_PLOT_LIBRARY)).absoluteFilePath();

QString keyDefault(const QString& path) {
    QString value;
    RegKey(RegRoot::ClassesRoot, path, false).readString(DefaultValueName(), value);
    return value;
}

HRESULT CallCanUnloadNow() {
    QLibrary lib(kLibrary);
    auto fn = reinterpret_cast<HRESULT (*)()>(lib.resolve("DllCanUnloadNow"));
    return fn ? fn() : E_FAIL;
}

// One registration into a temporary registry serves the whole suite (each write of the store
// rewrites its file, so registering is not cheap).
class PlotServerTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        config_ = std::make_unique<zartest::ScopedConfigDir>();
        ResetRegistryCache();
        ASSERT_EQ(RegisterServerLibrary(kLibrary, false), S_OK);
    }
    static void TearDownTestSuite() {
        config_.reset();
        ResetRegistryCache();
    }

    template <class I>
    ComPtr<I> create(const char16_t* progId) {
        ComPtr<I> p;
        EXPECT_EQ(CreateInstanceByProgID(QString::fromUtf16(progId), I::kIID, p.put()), S_OK);
        return p;
    }

    static inline std::unique_ptr<zartest::ScopedConfigDir> config_;
};

}  // namespace

TEST(PlotServerRegistrationTest, RegisterWritesEntriesAndUnregisterRemovesThem) {
    zartest::ScopedConfigDir config;
    ResetRegistryCache();
    ComPtr<ISpec> spec;
    EXPECT_EQ(CreateInstanceByProgID(QStringLiteral("Zar_Plot.Spec.1"), ISpec::kIID, spec.put()),
              CO_E_CLASSSTRING);

    ASSERT_EQ(RegisterServerLibrary(kLibrary, false), S_OK);
    for (const CoclassInfo& c : kCoclasses) {
        const QString progId = QString::fromUtf16(c.progId);
        const QString independent = QString::fromUtf16(c.versionIndependentProgId);
        const QString clsid = GuidToString(c.clsid);
        const QString key = QStringLiteral("CLSID\\") + clsid;
        SCOPED_TRACE(progId.toStdString());
        EXPECT_EQ(keyDefault(progId), QString::fromLatin1(c.description));
        EXPECT_EQ(keyDefault(progId + QStringLiteral("\\CLSID")), clsid);
        EXPECT_EQ(keyDefault(independent), QString::fromLatin1(c.description));
        EXPECT_EQ(keyDefault(independent + QStringLiteral("\\CLSID")), clsid);
        EXPECT_EQ(keyDefault(independent + QStringLiteral("\\CurVer")), progId);
        EXPECT_EQ(keyDefault(key), QString::fromLatin1(c.description));
        EXPECT_EQ(keyDefault(key + QStringLiteral("\\ProgID")), progId);
        EXPECT_EQ(keyDefault(key + QStringLiteral("\\VersionIndependentProgID")), independent);
        EXPECT_EQ(keyDefault(key + QStringLiteral("\\InprocServer32")), kLibrary);
        QString threading;
        RegKey(RegRoot::ClassesRoot, key + QStringLiteral("\\InprocServer32"), false)
            .readString(QStringLiteral("ThreadingModel"), threading);
        EXPECT_EQ(threading, QStringLiteral("Apartment"));
        for (const char* sub : {"Programmable", "Control", "Insertable"})
            EXPECT_TRUE(RegKey::keyExists(RegRoot::ClassesRoot,
                                          key + QLatin1Char('\\') + QLatin1String(sub)));
        EXPECT_EQ(keyDefault(key + QStringLiteral("\\ToolboxBitmap32")),
                  QStringLiteral("%1, %2").arg(kLibrary).arg(c.toolboxBitmap));
        EXPECT_EQ(keyDefault(key + QStringLiteral("\\MiscStatus")), QStringLiteral("0"));
        EXPECT_EQ(keyDefault(key + QStringLiteral("\\MiscStatus\\1")), QStringLiteral("131473"));
        EXPECT_EQ(keyDefault(key + QStringLiteral("\\TypeLib")), GuidToString(LIBID_ZAR_PLOTLib));
        EXPECT_EQ(keyDefault(key + QStringLiteral("\\Version")), QStringLiteral("1.0"));
    }
    EXPECT_EQ(keyDefault(QStringLiteral("TypeLib\\") + GuidToString(LIBID_ZAR_PLOTLib) +
                         QStringLiteral("\\1.0")),
              QStringLiteral("ZAR_Plot 1.0 Type Library"));

    ASSERT_EQ(RegisterServerLibrary(kLibrary, true), S_OK);
    for (const CoclassInfo& c : kCoclasses) {
        EXPECT_FALSE(RegKey::keyExists(RegRoot::ClassesRoot, QString::fromUtf16(c.progId)));
        EXPECT_FALSE(RegKey::keyExists(RegRoot::ClassesRoot,
                                       QString::fromUtf16(c.versionIndependentProgId)));
        EXPECT_FALSE(RegKey::keyExists(RegRoot::ClassesRoot,
                                       QStringLiteral("CLSID\\") + GuidToString(c.clsid)));
    }
    EXPECT_TRUE(RegKey::keyExists(RegRoot::ClassesRoot, QStringLiteral("CLSID")));
    EXPECT_FALSE(RegKey::keyExists(RegRoot::ClassesRoot,
                                   QStringLiteral("TypeLib\\") + GuidToString(LIBID_ZAR_PLOTLib)));
    EXPECT_EQ(CreateInstanceByProgID(QStringLiteral("Zar_Plot.Chro.1"), IChro::kIID, spec.put()),
              CO_E_CLASSSTRING);
    ResetRegistryCache();
}

TEST_F(PlotServerTest, EveryControlIsCreatedByProgId) {
    for (const CoclassInfo& c : kCoclasses) {
        ComPtr<IDispatch> control;
        EXPECT_EQ(
            CreateInstanceByProgID(QString::fromUtf16(c.progId), c.defaultInterface, control.put()),
            S_OK)
            << c.name;
        ASSERT_TRUE(control);
        ComPtr<IUnknown> events;
        const HRESULT hr = control->QueryInterface(IID_IConnectionPointContainer, events.put());
        EXPECT_EQ(hr, S_OK);
    }
    // A wrong interface is refused and leaves nothing behind.
    ComPtr<IChro> wrong;
    EXPECT_EQ(CreateInstanceByProgID(QStringLiteral("Zar_Plot.Spec.1"), IChro::kIID, wrong.put()),
              E_NOINTERFACE);
    EXPECT_EQ(CallCanUnloadNow(), S_OK);
}

TEST_F(PlotServerTest, CanUnloadNowFollowsObjectsAndServerLocks) {
    EXPECT_EQ(CallCanUnloadNow(), S_OK);
    ComPtr<ISpec> spec = create<ISpec>(u"Zar_Plot.Spec.1");
    ComPtr<ISpec> second = spec;
    EXPECT_EQ(CallCanUnloadNow(), S_FALSE);
    spec.reset();
    EXPECT_EQ(CallCanUnloadNow(), S_FALSE);
    second.reset();
    EXPECT_EQ(CallCanUnloadNow(), S_OK);

    ComPtr<IClassFactory> factory;
    ASSERT_EQ(CoGetClassObject(CLSID_Chro, CLSCTX_INPROC_SERVER, IID_IClassFactory, factory.put()),
              S_OK);
    factory->LockServer(1);
    EXPECT_EQ(CallCanUnloadNow(), S_FALSE);
    factory->LockServer(0);
    EXPECT_EQ(CallCanUnloadNow(), S_OK);
    ComPtr<IClassFactory> unknown;
    GUID nothing{1, 2, 3, {4}};
    QLibrary lib(kLibrary);
    auto getClassObject = reinterpret_cast<HRESULT (*)(const CLSID*, const IID*, void**)>(
        lib.resolve("DllGetClassObject"));
    ASSERT_TRUE(getClassObject);
    EXPECT_EQ(getClassObject(&nothing, &IID_IClassFactory, unknown.put()),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(getClassObject(&CLSID_Chro, &IID_IClassFactory, nullptr), E_POINTER);
}

TEST_F(PlotServerTest, EventsReachConnectedSinkInOrder) {
    ComPtr<IChro> chro = create<IChro>(u"Zar_Plot.Chro.1");
    ASSERT_EQ(chro->put_IndexNumber(3), S_OK);
    ASSERT_EQ(chro->put_InfoID(9), S_OK);
    ComPtr<EventSink> sink = EventSink::Create(ChroEvents::kIID);
    std::vector<std::int32_t> seen;
    DISPID seenId = 0;
    sink->on(ChroEvents::kChroLeftKeyPressed, [&](const DispArgs& a) {
        seenId = ChroEvents::kChroLeftKeyPressed;
        for (std::uint32_t i = 0; i < a.count(); ++i) seen.push_back(a.longAt(i));
    });
    EventConnection connection;
    ASSERT_EQ(connection.connect(chro.get(), ChroEvents::kIID, sink.get()), S_OK);

    QWidget host;
    ComPtr<IControlWindow> site;
    ASSERT_EQ(chro->QueryInterface(IID_IControlWindow, site.put()), S_OK);
    QWidget* window = nullptr;
    ASSERT_EQ(site->CreateControlWindow(&host, &window), S_OK);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->parentWidget(), &host);
    QTest::keyClick(window, Qt::Key_Left);
    EXPECT_EQ(seenId, ChroEvents::kChroLeftKeyPressed);
    EXPECT_EQ(seen, (std::vector<std::int32_t>{3, 9, 1}));

    // A wrong event interface finds no connection point.
    EventConnection wrong;
    EXPECT_EQ(wrong.connect(chro.get(), SpecEvents::kIID, sink.get()), CONNECT_E_NOCONNECTION);
}

TEST_F(PlotServerTest, SinkMayUnadviseAndReleaseTheControlInsideAHandler) {
    ComPtr<ISpec> spec = create<ISpec>(u"Zar_Plot.Spec.1");
    ComPtr<EventSink> sink = EventSink::Create(SpecEvents::kIID);
    auto connection = std::make_unique<EventConnection>();
    int calls = 0;
    sink->on(SpecEvents::kSpecRightKeyPressed, [&](const DispArgs& a) {
        ++calls;
        EXPECT_EQ(a.count(), 0u);
        connection.reset();
        spec.reset();  // the last reference of the program
    });
    ASSERT_EQ(connection->connect(spec.get(), SpecEvents::kIID, sink.get()), S_OK);
    QWidget host;
    ComPtr<IControlWindow> site;
    ASSERT_EQ(spec->QueryInterface(IID_IControlWindow, site.put()), S_OK);
    QWidget* window = nullptr;
    ASSERT_EQ(site->CreateControlWindow(&host, &window), S_OK);
    site.reset();
    QTest::keyClick(window, Qt::Key_Right);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(spec);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(CallCanUnloadNow(), S_OK);
}

TEST_F(PlotServerTest, MembersCheckInitializeCountsAndPointers) {
    ComPtr<ISpec> spec = create<ISpec>(u"Zar_Plot.Spec.1");
    VXPlot_DataPeak peaks[3] = {{100.0, 5.0, 0.f, 1}, {200.0, 7.0, 0.f, 1}, {300.0, 1.0, 0.f, 1}};
    VXPlot_MassRange ranges[2] = {{50.0, 250.0}, {250.0, 400.0}};
    std::int32_t sizes[2] = {2, 1};
    EXPECT_EQ(spec->SetPeakData(sizes, ranges, 2, peaks, 3), E_FAIL);  // before Initialize
    ASSERT_EQ(spec->Initialize(), S_OK);

    struct Case {
        const char* what;
        std::int32_t* sizes;
        VXPlot_MassRange* ranges;
        std::int32_t nRanges;
        VXPlot_DataPeak* peaks;
        std::int32_t nPeaks;
        HRESULT expected;
    };
    std::int32_t tooMany[2] = {2, 2};
    std::int32_t negative[2] = {-1, 1};
    const Case cases[] = {
        {"fits", sizes, ranges, 2, peaks, 3, S_OK},
        {"negative peak count", sizes, ranges, 2, peaks, -1, E_INVALIDARG},
        {"negative range count", sizes, ranges, -2, peaks, 3, E_INVALIDARG},
        {"sizes beyond peaks", tooMany, ranges, 2, peaks, 3, E_INVALIDARG},
        {"negative size", negative, ranges, 2, peaks, 3, E_INVALIDARG},
        {"null peaks", sizes, ranges, 2, nullptr, 3, E_POINTER},
        {"null sizes", nullptr, ranges, 2, peaks, 3, E_POINTER},
        {"nothing", nullptr, nullptr, 0, nullptr, 0, S_OK},
    };
    for (const Case& c : cases)
        EXPECT_EQ(spec->SetPeakData(c.sizes, c.ranges, c.nRanges, c.peaks, c.nPeaks), c.expected)
            << c.what;

    VXPlot_Filter filter;
    EXPECT_EQ(spec->InitializeFilter(nullptr), E_POINTER);
    ASSERT_EQ(spec->InitializeFilter(&filter), S_OK);
    filter.nNumMassRanges = 51;
    EXPECT_EQ(spec->put_Filter(&filter), E_INVALIDARG);
    filter.nNumMassRanges = 0;
    filter.nNumPrecursorMasses = -1;
    EXPECT_EQ(spec->put_Filter(&filter), E_INVALIDARG);

    ComPtr<IChro> chro = create<IChro>(u"Zar_Plot.Chro.1");
    BSTR text = nullptr;
    EXPECT_EQ(chro->get_Filter(&text), E_FAIL);
    EXPECT_EQ(chro->get_Filter(nullptr), E_POINTER);
    ASSERT_EQ(chro->Initialize(), S_OK);
    VXPlot_ChroInfo info;
    ASSERT_EQ(chro->InitializeChroInfo(&info), S_OK);
    EXPECT_EQ(info.eTraceType, VXPlot_ChroTICTrace);
    EXPECT_EQ(info.bMassRange1IsValid, 0);
    ASSERT_EQ(chro->InitializeFilter(&filter), S_OK);
    filter.ePolarity = VXPlot_Positive;
    filter.eScanType = VXPlot_Fullsc;
    EXPECT_EQ(chro->SetTraceInfo(&info, &filter, 0, nullptr), S_OK);
    ASSERT_EQ(chro->get_Filter(&text), S_OK);
    EXPECT_EQ(FromBstr(text), QStringLiteral("+ Full"));
    SysFreeString(text);
    // Without a description the trace is a TIC.
    EXPECT_EQ(chro->SetTraceInfo(nullptr, &filter, 0, nullptr), S_OK);
    EXPECT_EQ(chro->SetMarkerList(nullptr, 2), E_POINTER);

    VXPlot_Marker marker;
    std::memset(&marker, 0x55, sizeof marker);
    ASSERT_EQ(chro->InitializeMarker(&marker), S_OK);
    EXPECT_EQ(marker.style, VXPlot_MarkerStyle_Line);
    EXPECT_EQ(marker.bBehind, 1);
    EXPECT_EQ(marker.bOutline, 1);
    EXPECT_EQ(marker.bFill, 0);
    EXPECT_EQ(marker.lineColor, 0x02000000u);
    EXPECT_EQ(marker.dDropEndIntensity, 0.0);
    EXPECT_EQ(marker.symbol, VXPlot_MarkerSymbolType_None);
}

TEST_F(PlotServerTest, LateBoundCallsAnswerTheSameDispatchIds) {
    ComPtr<IChro> chro = create<IChro>(u"Zar_Plot.Chro.1");
    std::vector<VARIANT> put = {VariantLong(1)};
    DISPPARAMS putParams{put.data(), nullptr, 1, 0};
    EXPECT_EQ(chro->Invoke(2, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &putParams,
                           nullptr, nullptr, nullptr),
              S_OK);
    std::int32_t shown = 0;
    EXPECT_EQ(chro->get_ShowFocusRect(&shown), S_OK);
    EXPECT_EQ(shown, 1);
    VARIANT result;
    DISPPARAMS none;
    EXPECT_EQ(chro->Invoke(3, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result,
                           nullptr, nullptr),
              S_OK);
    EXPECT_EQ(result.lVal, -1);  // index number of a new trace
    EXPECT_EQ(chro->Invoke(8, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr,
                           nullptr, nullptr),
              S_OK);  // Initialize
    VXPlot_DataPeak peaks[2] = {{1.0, 2.0, 0.f, 1}, {2.0, 3.0, 0.f, 2}};
    std::vector<VARIANT> args = {VariantLong(2), VariantPointer(peaks)};
    DISPPARAMS params{args.data(), nullptr, 2, 0};
    EXPECT_EQ(chro->Invoke(4, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                           nullptr, nullptr),
              S_OK);
    zar::LPCWSTR name = u"SetPeakData";
    DISPID id = 0;
    EXPECT_EQ(chro->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
    EXPECT_EQ(id, 4);
}

TEST_F(PlotServerTest, PersistsOnlyTheExtent) {
    ComPtr<ISpec> spec = create<ISpec>(u"Zar_Plot.Spec.1");
    ComPtr<IControlWindow> site;
    ASSERT_EQ(spec->QueryInterface(IID_IControlWindow, site.put()), S_OK);
    const SIZEL extent{12700, 6350};
    ASSERT_EQ(site->SetExtent(&extent), S_OK);
    BStr state;
    ASSERT_EQ(site->Save(state.put()), S_OK);
    EXPECT_EQ(state.toQString(), QStringLiteral("_cx=12700\n_cy=6350\n"));

    ComPtr<ISpec> other = create<ISpec>(u"Zar_Plot.Spec.1");
    ComPtr<IControlWindow> otherSite;
    ASSERT_EQ(other->QueryInterface(IID_IControlWindow, otherSite.put()), S_OK);
    ASSERT_EQ(otherSite->Load(state.get()), S_OK);
    SIZEL loaded;
    ASSERT_EQ(otherSite->GetExtent(&loaded), S_OK);
    EXPECT_EQ(loaded.cx, 12700);
    EXPECT_EQ(loaded.cy, 6350);
    EXPECT_EQ(otherSite->Load(u"_cx=nonsense\n"), E_INVALIDARG);
    ASSERT_EQ(otherSite->GetExtent(&loaded), S_OK);
    EXPECT_EQ(loaded.cx, 12700);  // unchanged by a bad stream
}

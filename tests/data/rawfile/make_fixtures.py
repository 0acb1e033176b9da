#!/usr/bin/env python3
"""Writes the small run files the raw-file reader tests read. Run it from this folder.

One made-up run of six scans (MS1, MS2, MS3, MS1, MS2, MS1) in several forms: mzML with and
without the instrument's filter strings, mzXML, MGF, plus broken and special files.
"""
import base64
import struct

# (scan, ms level, time in s, window, precursors [(mz, activation, energy)], filter, peaks)
SCANS = [
    (1, 1, 30.0, (400.0, 2000.0), [], "FTMS + c NSI Full ms [400.00-2000.00]",
     [(445.35, 1000.0), (600.30, 500.0), (800.00, 200.0)]),
    (2, 2, 36.0, (110.0, 905.0), [(445.35, "cid", 35.0)],
     "ITMS + c NSI d Full ms2 445.35@cid35.00 [110.00-905.00]",
     [(200.10, 100.0), (300.20, 300.0), (427.34, 50.0)]),
    (3, 3, 42.0, (80.0, 610.0), [(445.35, "cid", 35.0), (300.20, "cid", 35.0)],
     "ITMS + c NSI d Full ms3 445.35@cid35.00 300.20@cid35.00 [80.00-610.00]",
     [(150.00, 20.0), (250.00, 40.0)]),
    (4, 1, 60.0, (400.0, 2000.0), [], "FTMS + c NSI Full ms [400.00-2000.00]",
     [(445.35, 2000.0), (600.30, 100.0)]),
    (5, 2, 66.0, (150.0, 1210.0), [(600.30, "hcd", 28.0)],
     "ITMS + c NSI d Full ms2 600.30@hcd28.00 [150.00-1210.00]",
     [(500.00, 10.0), (582.29, 70.0)]),
    (6, 1, 90.0, (400.0, 2000.0), [], "FTMS + c NSI Full ms [400.00-2000.00]",
     [(445.36, 500.0), (900.00, 900.0)]),
]

ACTIVATIONS = {
    "cid": ("MS:1000133", "collision-induced dissociation"),
    "hcd": ("MS:1000422", "beam-type collision-induced dissociation"),
}


def b64(values, fmt):
    return base64.b64encode(struct.pack(fmt[0] + fmt[1] * len(values), *values)).decode()


def cv(acc, name, value="", unit=None):
    text = f'<cvParam cvRef="MS" accession="{acc}" name="{name}" value="{value}"'
    if unit:
        text += f' unitCvRef="{unit[0]}" unitAccession="{unit[1]}" unitName="{unit[2]}"'
    return text + "/>"


MZ = ("MS", "MS:1000040", "m/z")


def mzml(scans, with_filters, numbers=None):
    out = ['<?xml version="1.0" encoding="utf-8"?>',
           '<mzML xmlns="http://psi.hupo.org/ms/mzml" version="1.1.0">',
           '<cvList count="2">',
           '<cv id="MS" fullName="Mass spectrometry ontology" version="4.1.0" URI="psi-ms.obo"/>',
           '<cv id="UO" fullName="Unit Ontology" version="2014" URI="unit.obo"/>',
           '</cvList>',
           '<fileDescription><fileContent>', cv("MS:1000579", "MS1 spectrum"),
           '</fileContent></fileDescription>',
           '<softwareList count="1"><software id="fixture" version="1">',
           cv("MS:1000799", "custom unreleased software tool", "fixture"),
           '</software></softwareList>',
           '<instrumentConfigurationList count="1"><instrumentConfiguration id="IC1">',
           '<componentList count="3">',
           '<source order="1">' + cv("MS:1000398", "nanoelectrospray") + '</source>',
           '<analyzer order="2">' + cv("MS:1000264", "ion trap") + '</analyzer>',
           '<detector order="3">' + cv("MS:1000624", "inductive detector") + '</detector>',
           '</componentList></instrumentConfiguration></instrumentConfigurationList>',
           '<dataProcessingList count="1"><dataProcessing id="dp">',
           '<processingMethod order="0" softwareRef="fixture">',
           cv("MS:1000544", "Conversion to mzML"),
           '</processingMethod></dataProcessing></dataProcessingList>',
           '<run id="fixture" defaultInstrumentConfigurationRef="IC1">',
           f'<spectrumList count="{len(scans)}" defaultDataProcessingRef="dp">']
    for index, (scan, level, seconds, window, precursors, filt, peaks) in enumerate(scans):
        number = numbers[index] if numbers else scan
        out.append(f'<spectrum index="{index}" id="controllerType=0 controllerNumber=1 '
                   f'scan={number}" defaultArrayLength="{len(peaks)}">')
        out.append(cv("MS:1000511", "ms level", level))
        out.append(cv("MS:1000579", "MS1 spectrum") if level == 1 else cv("MS:1000580", "MSn spectrum"))
        out.append(cv("MS:1000130", "positive scan"))
        out.append(cv("MS:1000127", "centroid spectrum"))
        out.append('<scanList count="1">' + cv("MS:1000795", "no combination") + '<scan>')
        out.append(cv("MS:1000016", "scan start time", seconds, ("UO", "UO:0000010", "second")))
        if with_filters:
            out.append(cv("MS:1000512", "filter string", filt))
        out.append('<scanWindowList count="1"><scanWindow>')
        out.append(cv("MS:1000501", "scan window lower limit", window[0], MZ))
        out.append(cv("MS:1000500", "scan window upper limit", window[1], MZ))
        out.append('</scanWindow></scanWindowList></scan></scanList>')
        if precursors:
            out.append(f'<precursorList count="{len(precursors)}">')
            for mz, activation, energy in precursors:
                acc, name = ACTIVATIONS[activation]
                out.append('<precursor><isolationWindow>')
                out.append(cv("MS:1000827", "isolation window target m/z", mz, MZ))
                out.append('</isolationWindow><selectedIonList count="1"><selectedIon>')
                out.append(cv("MS:1000744", "selected ion m/z", mz, MZ))
                out.append(cv("MS:1000041", "charge state", 2))
                out.append('</selectedIon></selectedIonList><activation>')
                out.append(cv(acc, name))
                out.append(cv("MS:1000045", "collision energy", energy,
                              ("UO", "UO:0000266", "electronvolt")))
                out.append('</activation></precursor>')
            out.append('</precursorList>')
        mzs = [p[0] for p in peaks]
        ints = [p[1] for p in peaks]
        out.append('<binaryDataArrayList count="2">')
        for values, fmt, acc, name, unit in (
                (mzs, "<d", "MS:1000514", "m/z array", MZ),
                (ints, "<f", "MS:1000515", "intensity array",
                 ("MS", "MS:1000131", "number of detector counts"))):
            encoded = b64(values, fmt)
            out.append(f'<binaryDataArray encodedLength="{len(encoded)}">')
            out.append(cv("MS:1000523", "64-bit float") if fmt == "<d"
                       else cv("MS:1000521", "32-bit float"))
            out.append(cv("MS:1000576", "no compression"))
            out.append(cv(acc, name, "", unit))
            out.append(f'<binary>{encoded}</binary></binaryDataArray>')
        out.append('</binaryDataArrayList></spectrum>')
    out += ['</spectrumList>', '</run>', '</mzML>', '']
    return "\n".join(out)


def mzxml(scans):
    out = ['<?xml version="1.0" encoding="ISO-8859-1"?>',
           '<mzXML xmlns="http://sashimi.sourceforge.net/schema_revision/mzXML_3.2">',
           f'<msRun scanCount="{len(scans)}" startTime="PT30S" endTime="PT90S">',
           '<parentFile fileName="fixture.raw" fileType="RAWData" '
           'fileSha1="0000000000000000000000000000000000000000"/>',
           '<msInstrument><msManufacturer category="msManufacturer" value="unknown"/>'
           '<msModel category="msModel" value="unknown"/>'
           '<msIonisation category="msIonisation" value="nanoelectrospray"/>'
           '<msMassAnalyzer category="msMassAnalyzer" value="ion trap"/>'
           '<msDetector category="msDetector" value="unknown"/></msInstrument>',
           '<dataProcessing><software type="conversion" name="fixture" version="1"/>'
           '</dataProcessing>']
    for scan, level, seconds, window, precursors, _, peaks in scans:
        energy = f' collisionEnergy="{precursors[-1][2]}"' if precursors else ""
        out.append(f'<scan num="{scan}" msLevel="{level}" peaksCount="{len(peaks)}" '
                   f'polarity="+" scanType="Full" centroided="1" retentionTime="PT{seconds}S" '
                   f'startMz="{window[0]}" endMz="{window[1]}"{energy}>')
        if precursors:
            mz, activation, _ = precursors[-1]
            out.append(f'<precursorMz precursorIntensity="0" precursorCharge="2" '
                       f'activationMethod="{activation.upper()}">{mz}</precursorMz>')
        flat = [v for p in peaks for v in p]
        out.append('<peaks precision="64" byteOrder="network" contentType="m/z-int" '
                   f'compressionType="none" compressedLen="0">{b64(flat, ">d")}</peaks>')
        out.append('</scan>')
    out += ['</msRun>', '</mzXML>', '']
    return "\n".join(out)


def mgf(scans):
    out = []
    for scan, level, seconds, _, precursors, _, peaks in scans:
        if level != 2:
            continue
        out += ["BEGIN IONS", f"TITLE=fixture.{scan}.{scan}.2", f"PEPMASS={precursors[-1][0]}",
                "CHARGE=2+", f"RTINSECONDS={seconds}"]
        out += [f"{mz} {intensity}" for mz, intensity in peaks]
        out.append("END IONS")
    return "\n".join(out) + "\n"


def write(name, text):
    with open(name, "w", encoding="utf-8") as f:
        f.write(text)


full = mzml(SCANS, True)
write("run_filters.mzML", full)
write("run_composed.mzML", mzml(SCANS, False))
write("run.mzXML", mzxml(SCANS))
write("run.mgf", mgf(SCANS))
write("truncated.mzML", full[: len(full) // 2])
write("not_a_run.mzML", "This is a text file that was given the wrong name.\n")
write("empty_run.mzML", mzml([], False))
# The peaks of the fourth spectrum are not valid base64.
broken = mzml(SCANS, False)
at = broken.find("<binary>", broken.find('scan=4"'))
write("bad_peaks.mzML", broken[:at + 8] + "@@@@not*base64@@@@" + broken[broken.find("</binary>", at):])
write("gaps.mzML", mzml(SCANS[:3], False, numbers=[10, 20, 35]))

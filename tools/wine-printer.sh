#!/usr/bin/env bash
# Adds the project's PostScript printer to the Wine prefix in WINEPREFIX and
# makes it the default printer: Wine's PostScript driver (wineps.drv) with the
# PDF writer's PPD from Debian's ghostscript, printing to a file. Each job
# replaces $WINEPREFIX/printed/page.ps, which ghostscript turns into PDF or
# PNG (e.g. gs -o page.png -sDEVICE=png16m -r100 page.ps).
#
# Run by wine-session.sh when a session begins; safe to run again (it does
# nothing once the printer is there). Needs a running or startable wine.
set -eu
: "${WINEPREFIX:?}"
export WINEDEBUG=${WINEDEBUG:--all}
export PATH="$PATH:/usr/lib/wine"
printer="Tolmaro PostScript"
out_dir="$WINEPREFIX/printed"
port="$out_dir/page.ps"
driver_dir="$WINEPREFIX/drive_c/windows/system32/spool/drivers/x64/3"
ppd=$(ls /usr/share/ghostscript/*/lib/ghostpdf.ppd 2>/dev/null | head -n 1 || true)
if [ -z "$ppd" ]; then
  echo "wine-printer: no ghostpdf.ppd (install ghostscript); printing is not set up" >&2
  exit 1
fi
mkdir -p "$out_dir" "$driver_dir"
marker="$out_dir/.printer-added"
[ -f "$marker" ] && [ -f "$driver_dir/TOLMAROPS.PPD" ] && exit 0
cp "$ppd" "$driver_dir/TOLMAROPS.PPD"

drivers='HKLM\System\CurrentControlSet\Control\Print\Environments\Windows x64\Drivers\Version-3'
printers='HKLM\System\CurrentControlSet\Control\Print\Printers'
nt='HKCU\Software\Microsoft\Windows NT\CurrentVersion'
reg() { wine64 reg "$@" /f >/dev/null; }

reg add "$drivers\\$printer" /v "Configuration File" /t REG_SZ /d "wineps.drv"
reg add "$drivers\\$printer" /v "Data File" /t REG_SZ /d 'C:\windows\system32\spool\drivers\x64\3\TOLMAROPS.PPD'
reg add "$drivers\\$printer" /v "Driver" /t REG_SZ /d "wineps.drv"
reg add "$drivers\\$printer" /v "Datatype" /t REG_SZ /d "RAW"
reg add "$drivers\\$printer" /v "Help File" /t REG_SZ /d ""
reg add "$drivers\\$printer" /v "Monitor" /t REG_SZ /d ""
reg add "$drivers\\$printer" /v "Version" /t REG_DWORD /d 3

reg add "$printers\\$printer" /v "Name" /t REG_SZ /d "$printer"
reg add "$printers\\$printer" /v "Port" /t REG_SZ /d "$port"
reg add "$printers\\$printer" /v "Printer Driver" /t REG_SZ /d "$printer"
reg add "$printers\\$printer" /v "Datatype" /t REG_SZ /d "RAW"
reg add "$printers\\$printer" /v "Print Processor" /t REG_SZ /d "WinPrint"
reg add "$printers\\$printer" /v "Description" /t REG_SZ /d "PostScript to a file"
reg add "$printers\\$printer" /v "Attributes" /t REG_DWORD /d 64
reg add "$printers\\$printer" /v "Priority" /t REG_DWORD /d 1
reg add "$printers\\$printer" /v "Default Priority" /t REG_DWORD /d 1
reg add "$printers\\$printer" /v "Status" /t REG_DWORD /d 0

reg add "$nt\\Devices" /v "$printer" /t REG_SZ /d "WINEPS.DRV,$port"
reg add "$nt\\PrinterPorts" /v "$printer" /t REG_SZ /d "WINEPS.DRV,$port,15,45"
reg add "$nt\\Windows" /v "Device" /t REG_SZ /d "$printer,WINEPS.DRV,$port"
touch "$marker"
echo "wine-printer: \"$printer\" prints to $port"

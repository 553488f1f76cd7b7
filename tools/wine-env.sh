# Sourced by the Wine runners. wine_setup ARCH PREFIX readies Wine for one
# architecture of the program (win32 or win64): the loader that fits it, in
# WINELOADER (Debian's `wine` command picks the 32-bit loader whenever it is
# installed, even on a host that cannot run it), a private prefix of that
# architecture, quiet, and without the installers a new prefix would offer.
wine_setup() {
  case $1 in
    win32) WINELOADER=/usr/lib/wine/wine ;;
    win64) WINELOADER=/usr/lib/wine/wine64 ;;
    *) echo "wine_setup: unknown architecture '$1' (win32 or win64)" >&2; return 1 ;;
  esac
  if [ ! -x "$WINELOADER" ]; then
    echo "wine_setup: $WINELOADER is missing: the $1 part of Wine is not installed" >&2
    return 1
  fi
  export WINELOADER WINEARCH=$1 WINEPREFIX=$2
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
  mkdir -p "$(dirname "$WINEPREFIX")"
}

# Creates the prefix once, then gives it Wine's own fonts, the symbol font
# that draws the caption buttons among them: Debian's Wine keeps them in its
# data folder but does not read them from there.
wine_prepare_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$WINELOADER" wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  local fonts=$WINEPREFIX/drive_c/windows/Fonts font
  mkdir -p "$fonts"
  for font in /usr/share/wine/fonts/*; do
    [ -e "$font" ] && ln -sfn "$font" "$fonts/"
  done
  return 0
}

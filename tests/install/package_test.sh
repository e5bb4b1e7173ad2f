#!/usr/bin/env bash
# Builds the Debian packages and unpacks them (dpkg -x): each holds exactly its
# component's files under /usr, names the packages it depends on at this very version,
# and the three unpacked together make a working installation (ecfhost finds the module,
# the module finds the virtual printer).
source "$(dirname "$0")/common.sh"
work=$ECF_SCRATCH

"$ECF_CPACK" --config "$ECF_BUILD_DIR/CPackConfig.cmake" -B "$work/debs" >"$work/cpack.log" 2>&1 ||
  fail "cpack: $(cat "$work/cpack.log")"
debs=("$work"/debs/*.deb)
[ "${#debs[@]}" -eq 3 ] || fail "expected 3 packages, cpack made: ${debs[*]##*/}"

runtime_dependency="libecfmodule0 (= $ECF_VERSION-1)"
check_package() {  # component package depends-on-runtime
  local deb="$work/debs/$2_$ECF_VERSION-1_$(dpkg --print-architecture).deb" field
  [ -f "$deb" ] || fail "no $2 package among: ${debs[*]##*/}"
  for field in Maintainer Description Section; do
    [ -n "$(dpkg-deb -f "$deb" "$field")" ] || fail "$2 has no $field"
  done
  local depends
  depends=$(dpkg-deb -f "$deb" Depends)
  if [ "$3" = yes ]; then
    [[ ", $depends," == *", $runtime_dependency,"* ]] ||
      fail "$2 does not depend on $runtime_dependency: $depends"
  else
    [[ "$depends" != *libecfmodule* ]] || fail "$2 must not depend on the module package: $depends"
  fi

  dpkg -x "$deb" "$work/$2"
  expected_list "$1" | sed 's|^|usr/|' >"$work/$2.expected"
  file_list "$work/$2" >"$work/$2.found"
  same_files "$work/$2.expected" "$work/$2.found" "$2"
  dpkg -x "$deb" "$work/root"
}
check_package runtime libecfmodule0 no
check_package development libecfmodule-dev yes
check_package virtual_printer ecf-virtual-printer yes

run_demo "$work/root/usr/$ECF_BINDIR/ecfhost"
echo "3 packages with the expected files and dependencies; unpacked, ecfhost demo ran"

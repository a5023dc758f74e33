#!/bin/bash
# Builds openssl.exe for 64-bit Windows from Debian's own source, once, into
# $cache/openssl-x86_64 (with its licence): the program the signature
# pipeline runs from the tool's folder. Only the program is built, from
# static libraries, with what the pipeline's three steps use: pkcs12 (with
# the built-in legacy provider for RC2 and 3DES certificates), dgst with RSA
# or EC keys, and enc's base64. A fresh CI machine builds it on every run,
# hence all that is cut. Prints the path of openssl.exe.
set -euo pipefail
source "$(dirname "$0")/comum.sh"

destino=$cache/openssl-x86_64
[ -f "$destino/openssl.exe" ] && echo "$destino/openssl.exe" && exit 0
# Only the path goes to standard output.
exec 3>&1 1>&2
instalar_pacotes g++-mingw-w64-x86-64-posix make perl

fonte=$cache/fontes/openssl
mkdir -p "$cache/fontes"
# The newest security version's source may be gone from the mirror before
# the package is: the last one known to unpack then.
fonte_debian openssl "$fonte" || true
[ -d "$fonte" ] || fonte_debian openssl=3.0.17-1~deb12u2 "$fonte"
[ -d "$fonte" ]

construcao=$cache/.openssl-x86_64
rm -rf "$construcao"
mkdir -p "$construcao"
cd "$construcao"
# no-module builds the legacy provider into libcrypto; -static leaves only
# system DLLs to load (no libwinpthread or libgcc one beside the program).
# Its configuration file is looked for where only an administrator writes
# (the default would be C:\usr\local\ssl, which any user may make).
"$fonte/Configure" mingw64 --cross-compile-prefix=x86_64-w64-mingw32- \
    --prefix="C:/Program Files/OpenSSL" --openssldir="C:/Program Files/Common Files/SSL" \
    no-shared no-module no-tests no-engine no-async no-sock \
    no-ssl3 no-tls1 no-tls1_1 no-tls1_2 no-tls1_3 no-dtls no-srp no-psk no-srtp no-nextprotoneg \
    no-ct no-ocsp no-ts no-cms no-cmp no-comp no-rfc3779 \
    no-aria no-bf no-blake2 no-camellia no-cast no-chacha no-poly1305 no-idea no-md4 \
    no-mdc2 no-ocb no-rc5 no-rmd160 no-scrypt no-seed no-siphash no-siv no-sm2 no-sm3 \
    no-sm4 no-whirlpool no-ec2m no-dh no-dsa no-gost \
    -static -O2 >/dev/null
make -s -j2 build_generated
make -s -j2 apps/openssl.exe
x86_64-w64-mingw32-strip apps/openssl.exe

mkdir -p "$destino"
cp apps/openssl.exe "$destino/"
cp "$fonte/LICENSE.txt" "$destino/LICENSE-openssl.txt"
cd "$cache"
rm -rf "$construcao"
echo "$destino/openssl.exe" >&3

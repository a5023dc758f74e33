#!/usr/bin/env bash
# Regenerates the pictures the program loads (imagens/) from their editable
# sources (fontes/). For maintainers: the generated pictures are committed, so
# building the tool never runs this.
# Needs rsvg-convert (Debian package librsvg2-bin), pngtopnm and pnmtojpeg
# (netpbm), icotool (icoutils) and the DejaVu fonts (fonts-dejavu-core).
set -euo pipefail
aqui=$(cd "$(dirname "$0")" && pwd)
fontes="$aqui/fontes"
imagens="$aqui/imagens"
for programa in rsvg-convert pngtopnm pnmtojpeg icotool; do
    command -v "$programa" >/dev/null || {
        echo "falta $programa (apt-get install librsvg2-bin netpbm icoutils)" >&2
        exit 1
    }
done
mkdir -p "$imagens"
temporaria=$(mktemp -d)
trap 'rm -rf "$temporaria"' EXIT

png() {  # fonte.svg saida.png
    rsvg-convert --format=png "$1" -o "$2"
}

for nome in sat_frente principal_1 principal_2 icone etapa_ok etapa_erro; do
    png "$fontes/$nome.svg" "$imagens/$nome.png"
done

# The activation card is a JPEG: the change-of-code window was designed for one.
png "$fontes/cartao_ativacao.svg" "$temporaria/cartao.png"
pngtopnm "$temporaria/cartao.png" 2>/dev/null | pnmtojpeg --quality=88 --optimize \
    >"$imagens/cartao_ativacao.jpg"

# Blue and yellow look of each of the six steps: one drawing, other colours and
# the step's number.
for n in 1 2 3 4 5 6; do
    sed -e "s/>1</>$n</" "$fontes/etapa.svg" >"$temporaria/azul.svg"
    png "$temporaria/azul.svg" "$imagens/etapa_${n}_azul.png"
    sed -e "s/>1</>$n</" -e 's/#1f6fd1/#f4c20d/' -e 's/#0d4a9c/#a67c00/' \
        -e 's/#ffffff/#3a2e00/' "$fontes/etapa.svg" >"$temporaria/amarelo.svg"
    png "$temporaria/amarelo.svg" "$imagens/etapa_${n}_amarelo.png"
done
# The Windows program's icon, in the sizes Explorer and the start menu use.
for lado in 16 32 48 256; do
    rsvg-convert --format=png -w $lado -h $lado "$fontes/icone.svg" -o "$temporaria/icone_$lado.png"
done
icotool -c -o "$imagens/icone.ico" "$temporaria"/icone_{16,32,48}.png -r "$temporaria/icone_256.png"
echo "imagens geradas em $imagens"

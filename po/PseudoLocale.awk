# The pseudo-locale's filter (msgfilter runs it on every message): each letter becomes an
# accented look-alike and the message grows by about 40 % with a bracketed tail of accented
# words, so that the screen tests find text that does not fit or is not translated. Format
# directives (%1$d, %s) and line breaks pass unchanged.
BEGIN {
  split("á ƀ ç ď é ƒ ĝ ĥ í ĵ ķ ĺ ḿ ñ ó ṗ ǫ ŕ š ť ú ṽ ŵ ẋ ý ž", lower, " ")
  split("Á Ɓ Ç Ď É Ƒ Ĝ Ĥ Í Ĵ Ķ Ĺ Ḿ Ñ Ó Ṗ Ǫ Ŕ Š Ť Ú Ṽ Ŵ Ẋ Ý Ž", upper, " ")
  letters = "abcdefghijklmnopqrstuvwxyz"
  capitals = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
  RS = "\001"
}
{
  text = $0
  # A message that ends in a line break keeps it at the end.
  ending = ""
  if (sub(/\n$/, "", text)) ending = "\n"
  out = ""
  count = 0
  n = length(text)
  for (i = 1; i <= n; i++) {
    c = substr(text, i, 1)
    if (c == "%") {
      # Copy a directive through to its conversion letter.
      j = i + 1
      while (j <= n && substr(text, j, 1) !~ /[diouxXeEfgGcs%]/) j++
      out = out substr(text, i, j - i + 1)
      i = j
      continue
    }
    k = index(letters, c)
    if (k > 0) { out = out lower[k]; count++; continue }
    k = index(capitals, c)
    if (k > 0) { out = out upper[k]; count++; continue }
    out = out c
    if (c != "\n") count++
  }
  if (n == 0) { printf "%s", out; next }
  # About 40 % more characters, in words of up to five letters, inside brackets.
  extra = int(count * 0.4 + 0.5)
  tail = ""
  for (w = 0; w < extra - 2; w++) tail = tail ((w % 6 == 5) ? " " : "ẋ")
  printf "%s", "[" out " " tail "]" ending
}

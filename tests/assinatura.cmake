# The signature pipeline against the real openssl, and the associate-signature
# window against the stand-in library.
sat_add_test(tst_funcoes SOURCES tst_funcoes.cpp LIBS apoio_testes)

#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// The switch settings of an archiver command, named after the switch letters of the LZH library
// (the other formats read only some of them). Every setting is a property readable and writable by
// name. An integer of -1 and a string holding one blank mean "switch not given".
class ArchiverOptions : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int a MEMBER a)
    Q_PROPERTY(int c MEMBER c)
    Q_PROPERTY(int d MEMBER d)
    Q_PROPERTY(int e MEMBER e)
    Q_PROPERTY(int f MEMBER f)
    Q_PROPERTY(int h MEMBER h)
    Q_PROPERTY(int i MEMBER i)
    Q_PROPERTY(int l MEMBER l)
    Q_PROPERTY(int m MEMBER m)
    Q_PROPERTY(int n MEMBER n)
    Q_PROPERTY(int o MEMBER o)
    Q_PROPERTY(int p MEMBER p)
    Q_PROPERTY(int r MEMBER r)
    Q_PROPERTY(int s MEMBER s)
    Q_PROPERTY(int t MEMBER t)
    Q_PROPERTY(int u MEMBER u)
    Q_PROPERTY(QString w MEMBER w)
    Q_PROPERTY(int x MEMBER x)
    Q_PROPERTY(int y MEMBER y)
    Q_PROPERTY(int z MEMBER z)
    Q_PROPERTY(int jc MEMBER jc)
    Q_PROPERTY(int jd MEMBER jd)
    Q_PROPERTY(int je MEMBER je)
    Q_PROPERTY(int jf MEMBER jf)
    Q_PROPERTY(int jh MEMBER jh)
    Q_PROPERTY(int ji MEMBER ji)
    Q_PROPERTY(int jm MEMBER jm)
    Q_PROPERTY(int jn MEMBER jn)
    Q_PROPERTY(QString jo MEMBER jo)
    Q_PROPERTY(QString job MEMBER job)
    Q_PROPERTY(int jp MEMBER jp)
    Q_PROPERTY(int jr MEMBER jr)
    Q_PROPERTY(int jss MEMBER jss)
    Q_PROPERTY(int jw MEMBER jw)
    Q_PROPERTY(QStringList jx MEMBER jx)
    Q_PROPERTY(int jyc MEMBER jyc)
    Q_PROPERTY(int jyd MEMBER jyd)
    Q_PROPERTY(int jyk MEMBER jyk)
    Q_PROPERTY(int jyn MEMBER jyn)
    Q_PROPERTY(int jyo MEMBER jyo)
    Q_PROPERTY(QString jz MEMBER jz)
    Q_PROPERTY(int ga MEMBER ga)
    Q_PROPERTY(int gd MEMBER gd)
    Q_PROPERTY(int ge MEMBER ge)
    Q_PROPERTY(int gf MEMBER gf)
    Q_PROPERTY(int gj MEMBER gj)
    Q_PROPERTY(int gm MEMBER gm)
    Q_PROPERTY(int gn MEMBER gn)
    Q_PROPERTY(int go MEMBER go)
    Q_PROPERTY(int gp MEMBER gp)
    Q_PROPERTY(int gr MEMBER gr)
    Q_PROPERTY(int gs MEMBER gs)
    Q_PROPERTY(int gu MEMBER gu)
    Q_PROPERTY(int gw MEMBER gw)
    Q_PROPERTY(QString UserOptions MEMBER UserOptions)
    Q_PROPERTY(QString UserFileList MEMBER UserFileList)

public:
    explicit ArchiverOptions(QObject* parent = nullptr);

    int a = -1;
    int c = -1;
    int d = -1;
    int e = -1;
    int f = -1;
    int h = -1;
    int i = -1;
    int l = -1;
    int m = -1;
    int n = -1;
    int o = -1;
    int p = -1;
    int r = -1;
    int s = -1;
    int t = -1;
    int u = -1;
    QString w = QStringLiteral(" ");
    int x = -1;
    int y = -1;
    int z = -1;
    int jc = -1;
    int jd = -1;
    int je = -1;
    int jf = -1;
    int jh = -1;
    int ji = -1;
    int jm = -1;
    int jn = -1;
    QString jo = QStringLiteral(" ");
    QString job = QStringLiteral(" ");
    int jp = -1;
    int jr = -1;
    int jss = -1;
    int jw = -1;
    QStringList jx;
    int jyc = -1;
    int jyd = -1;
    int jyk = -1;
    int jyn = -1;
    int jyo = -1;
    QString jz = QStringLiteral(" ");
    int ga = -1;
    int gd = -1;
    int ge = -1;
    int gf = -1;
    int gj = -1;
    int gm = -1;
    int gn = -1;
    int go = -1;
    int gp = -1;
    int gr = -1;
    int gs = -1;
    int gu = -1;
    int gw = -1;
    QString UserOptions;
    QString UserFileList;
};

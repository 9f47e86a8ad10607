#!/usr/bin/env python3
# Turns an X window dump (xwd) into a PNG, optionally cut to X0,Y0,X1,Y1:
#   xwd-to-png.py IN.xwd OUT.png [X0,Y0,X1,Y1]
# For scripts/make-screenshots.sh, which grabs windows of the running
# program; only Python's own modules are used.
import struct, sys, zlib
def read_xwd(path):
    d=open(path,'rb').read()
    hs=struct.unpack('>I',d[0:4])[0]
    f=struct.unpack('>25I',d[0:100])
    (header_size,ver,fmt,depth,w,h,xoff,byte_order,unit,bit_order,pad,bpp,bpl,visual,rmask,gmask,bmask,bprgb,cmap_entries,ncolors,ww,wh,wx,wy,bw)=f
    off=header_size+ncolors*12
    px=d[off:]
    rows=[]
    for y in range(h):
        row=bytearray()
        base=y*bpl
        step=bpp//8
        for x in range(w):
            p=px[base+x*step:base+x*step+3]
            row+=bytes((p[2],p[1],p[0]))
        rows.append(bytes(row))
    return w,h,rows
def write_png(path,w,h,rows):
    raw=b''.join(b'\x00'+r for r in rows)
    def chunk(t,data): return struct.pack('>I',len(data))+t+data+struct.pack('>I',zlib.crc32(t+data)&0xffffffff)
    png=b'\x89PNG\r\n\x1a\n'+chunk(b'IHDR',struct.pack('>IIBBBBB',w,h,8,2,0,0,0))+chunk(b'IDAT',zlib.compress(raw,6))+chunk(b'IEND',b'')
    open(path,'wb').write(png)
w,h,rows=read_xwd(sys.argv[1])
if len(sys.argv)>3:
    x0,y0,x1,y1=map(int,sys.argv[3].split(','))
    rows=[r[x0*3:x1*3] for r in rows[y0:y1]]; w=x1-x0; h=y1-y0
write_png(sys.argv[2],w,h,rows)

# Draws the program icon (a hexagonal crystal, black outline on white,
# transparent around it) at 32 and 16 pixels and writes it as an .ico file:
#   python3 resources/make_icon.py resources/kalvor.ico
import struct,sys
def render(n):
    s=n/32.0
    P=lambda x,y:(x*s,y*s)
    apex=P(15.5,2); tl=P(6,9); til=P(11,11.5); tir=P(20,11.5); tr=P(25,9)
    bl=P(6,26); bil=P(11,29.5); bir=P(20,29.5); br=P(25,26)
    hull=[apex,tr,br,bir,bil,bl,tl]
    lines=[(apex,tl),(apex,til),(apex,tir),(apex,tr),(tl,til),(til,tir),(tir,tr),
           (tl,bl),(til,bil),(tir,bir),(tr,br),(bl,bil),(bil,bir),(bir,br)]
    def inside(x,y):
        c=False; j=len(hull)-1
        for i in range(len(hull)):
            xi,yi=hull[i]; xj,yj=hull[j]
            if (yi>y)!=(yj>y) and x < (xj-xi)*(y-yi)/(yj-yi)+xi: c=not c
            j=i
        return c
    def dist(px,py,a,b):
        ax,ay=a; bx,by=b; dx,dy=bx-ax,by-ay
        t=max(0,min(1,((px-ax)*dx+(py-ay)*dy)/(dx*dx+dy*dy)))
        return ((px-ax-t*dx)**2+(py-ay-t*dy)**2)**0.5
    w=max(0.6,0.75*s)
    pix=[]
    for y in range(n):
        row=[]
        for x in range(n):
            cx,cy=x+0.5,y+0.5
            d=min(dist(cx,cy,a,b) for a,b in lines)
            if d<w: row.append((0,0,0,255))
            elif inside(cx,cy): row.append((255,255,255,255))
            else: row.append((0,0,0,0))
        pix.append(row)
    return pix
def dib(n,pix):
    hdr=struct.pack('<IiiHHIIiiII',40,n,2*n,1,32,0,0,0,0,0,0)
    data=b''.join(bytes((b,g,r,a)) for row in reversed(pix) for (r,g,b,a) in row)
    mask=b''
    for row in reversed(pix):
        bits=0; out=b''
        for i,(r,g,b,a) in enumerate(row):
            if a==0: bits|=0x80>>(i%8)
            if i%8==7: out+=bytes((bits,)); bits=0
        out+=b'\0'*((4-len(out)%4)%4)
        mask+=out
    return hdr+data+mask
imgs=[(n,dib(n,render(n))) for n in (32,16)]
out=struct.pack('<HHH',0,1,len(imgs)); off=6+16*len(imgs); body=b''
for n,d in imgs:
    out+=struct.pack('<BBBBHHII',n,n,0,0,1,32,len(d),off); off+=len(d); body+=d
open(sys.argv[1],'wb').write(out+body)

